// The touch controls of a phone or tablet, a twin-stick pad on the screen:
// on the left half a stick appears where the thumb lands and moves the
// fighter; on the right half a finger held down fires and its drag aims; the
// buttons call orbiters, set off a blast and pause. They reach the game as a
// pad of the browser's standard layout, Module.touchPad, which the joystick
// driver reads as it reads a real pad, so the game never knows a touch.
'use strict';
(() => {
  // CSS pixels a finger travels for a stick's full deflection, and the
  // nearest it moves the fighter from, so that a thumb at rest stands still.
  const STICK_REACH = 48;
  const STICK_REST = 10;
  // The game sees a button only if a pass of its main loop finds it down; a
  // tap holds its button for a few passes.
  const SHORTEST_PRESS_MS = 100;
  // The standard layout's buttons, read as the game's default pad layout:
  // A sets off a blast, LB calls orbiters, RT fires, Start pauses.
  const PAD_BUTTON = { Blast: 0, Orbiters: 4, fire: 7, Pause: 9 };

  const root = document.documentElement;
  const controls = document.getElementById('touchControls');
  const surface = document.getElementById('touchSurface');
  const sticks = { move: document.getElementById('moveStick'), aim: document.getElementById('aimStick') };

  const pad = {
    id: 'Touch controls', index: 0, connected: false, mapping: 'standard', timestamp: 0,
    axes: [0, 0, 0, 0],
    buttons: Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0, since: 0 })),
  };
  Module.touchPad = pad;

  // The finger on each part of the controls, by the touch's identifier.
  const fingers = new Map();

  // The pad is the one the game reads while anything of it is held.
  function followPad() {
    pad.connected = fingers.size > 0 || pad.buttons.some((button) => button.pressed);
    pad.timestamp = performance.now();
  }

  function press(number) {
    Object.assign(pad.buttons[number], { pressed: true, touched: true, value: 1, since: performance.now() });
    followPad();
  }

  const heldByFinger = (number) => Array.from(fingers.values()).some((finger) => finger.padButton === number);

  // Lets a button go once no finger holds it and its shortest press is over.
  function letGo(number) {
    if (heldByFinger(number))
      return;
    const button = pad.buttons[number];
    const wait = button.since + SHORTEST_PRESS_MS - performance.now();
    if (wait > 0) {
      setTimeout(() => letGo(number), wait);
      return;
    }
    Object.assign(button, { pressed: false, touched: false, value: 0 });
    followPad();
  }

  // A drag as a stick's deflection, within the unit circle.
  function deflection(finger, touch) {
    const dx = touch.clientX - finger.x, dy = touch.clientY - finger.y;
    const scale = Math.max(STICK_REACH, Math.hypot(dx, dy));
    return [dx / scale, dy / scale];
  }

  // The movement stick in eight directions, full strength past its rest.
  function eightWays(finger, touch) {
    const dx = touch.clientX - finger.x, dy = touch.clientY - finger.y;
    if (Math.hypot(dx, dy) < STICK_REST)
      return [0, 0];
    const angle = (Math.round(Math.atan2(dy, dx) / (Math.PI / 4)) * Math.PI) / 4;
    return [Math.round(Math.cos(angle) * 1000) / 1000, Math.round(Math.sin(angle) * 1000) / 1000];
  }

  // Where a stick's ring shows and where its knob sits.
  function showStick(stick, finger, deflected) {
    stick.hidden = false;
    stick.style.left = finger.x + 'px';
    stick.style.top = finger.y + 'px';
    stick.firstElementChild.style.transform =
      `translate(${deflected[0] * STICK_REACH}px, ${deflected[1] * STICK_REACH}px)`;
  }

  const firstAxis = { move: 0, aim: 2 };

  function steer(finger, touch) {
    const deflected = finger.role === 'move' ? eightWays(finger, touch) : deflection(finger, touch);
    pad.axes[firstAxis[finger.role]] = deflected[0];
    pad.axes[firstAxis[finger.role] + 1] = deflected[1];
    showStick(sticks[finger.role], finger, deflected);
    followPad();
  }

  const holdsRole = (role) => Array.from(fingers.values()).some((finger) => finger.role === role);

  // A new finger takes the half it lands on, unless another finger holds it
  // already, or the button it lands on. The aiming finger holds the fire
  // button too.
  function take(touch) {
    const button = touch.target.closest('[data-pad-button]');
    const role = button ? button.dataset.padButton : touch.clientX < window.innerWidth / 2 ? 'move' : 'aim';
    if (!button && holdsRole(role))
      return;
    const padButton = button ? PAD_BUTTON[role] : role === 'aim' ? PAD_BUTTON.fire : undefined;
    const finger = { role, button, padButton, x: touch.clientX, y: touch.clientY };
    fingers.set(touch.identifier, finger);
    if (padButton !== undefined)
      press(padButton);
    if (button)
      button.classList.add('held');
    else
      steer(finger, touch);
  }

  function release(identifier) {
    const finger = fingers.get(identifier);
    if (!finger)
      return;
    fingers.delete(identifier);
    if (finger.button) {
      finger.button.classList.toggle('held', heldByFinger(finger.padButton));
    } else {
      pad.axes[firstAxis[finger.role]] = pad.axes[firstAxis[finger.role] + 1] = 0;
      sticks[finger.role].hidden = true;
    }
    if (finger.padButton !== undefined)
      letGo(finger.padButton);
    followPad();
  }

  // A finger that leaves the page, or a page that loses the player, lets go
  // of everything, as the keys and the mouse do.
  function releaseAll() {
    for (const identifier of Array.from(fingers.keys()))
      release(identifier);
  }

  function onStart(event) {
    // The menu and full-screen buttons take their taps as clicks.
    if (event.target !== surface && !event.target.closest('[data-pad-button]'))
      return;
    // No mouse events made up from the touch (touch-action keeps scrolling and
    // zooming off already, and the browser refuses this during a scroll).
    if (event.cancelable)
      event.preventDefault();
    for (const touch of event.changedTouches)
      take(touch);
  }

  function onMove(event) {
    for (const touch of event.changedTouches) {
      const finger = fingers.get(touch.identifier);
      if (finger && !finger.button)
        steer(finger, touch);
    }
  }

  function onEnd(event) {
    for (const touch of event.changedTouches)
      release(touch.identifier);
    // A lifted finger is the gesture a browser lets start sound.
    if (Module.webAudio)
      Module.webAudio.wake();
  }

  // Touch controls show on a device whose main pointer is coarse, or from
  // its first touch; the page lays itself out for them.
  function useTouch() {
    if (root.classList.contains('touch'))
      return;
    root.classList.add('touch');
    controls.hidden = false;
    window.dispatchEvent(new Event('resize'));
  }
  if (window.matchMedia('(pointer: coarse)').matches)
    useTouch();
  window.addEventListener('touchstart', useTouch, { capture: true, passive: true });

  controls.addEventListener('touchstart', onStart, { passive: false });
  window.addEventListener('touchmove', onMove, { passive: true });
  window.addEventListener('touchend', onEnd);
  window.addEventListener('touchcancel', onEnd);
  window.addEventListener('blur', releaseAll);
  document.addEventListener('visibilitychange', releaseAll);
})();
