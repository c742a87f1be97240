// Plays the page on a phone's screen with touch in headless Chromium, as a
// player holding a phone would: the layout in landscape and portrait, a
// stick that moves, a finger that aims and fires (heard), the three buttons,
// several fingers at once, a cancelled touch that lets go, the sound at rest
// out of sight, the page's installability and a reload that plays offline.
// Usage: node touchTest.js <page URL> <screenshot folder>
'use strict';
const path = require('path');
const {
  FIGHTER, ORBITER, ARENA, sleep, fail, pixels, blobs, largest, aimSide, waitFor, clockStands, movement, loudness,
  fightAfterTitle, watchForTitle, play, watchPage,
} = require('./pageKit');

const [url, shots] = process.argv.slice(2);
const PHONE = { isMobile: true, hasTouch: true, deviceScaleFactor: 2 };
const LANDSCAPE = { width: 844, height: 390, ...PHONE };
const PORTRAIT = { width: 390, height: 844, ...PHONE };
const THUMB_PIXELS = 44;

// Fingers on the touch screen, through the DevTools protocol: every event
// names all the fingers down, and one left out is lifted.
const FINGER_ID = { move: 1, aim: 2, tap: 3 };
class Fingers {
  constructor(client) {
    this.client = client;
    this.down = new Map();
  }

  send(type) {
    return this.client.send('Input.dispatchTouchEvent', { type, touchPoints: Array.from(this.down.values()) });
  }

  place(id, x, y) {
    const start = !this.down.has(id);
    this.down.set(id, { id: FINGER_ID[id], x, y, radiusX: 12, radiusY: 12, force: 1 });
    return this.send(start ? 'touchStart' : 'touchMove');
  }

  async drag(id, x, y) {
    const from = this.down.get(id);
    for (let step = 1; step <= 5; step++)
      await this.place(id, from.x + ((x - from.x) * step) / 5, from.y + ((y - from.y) * step) / 5);
  }

  lift(id) {
    this.down.delete(id);
    return this.send(this.down.size ? 'touchMove' : 'touchEnd');
  }

  async tap(x, y) {
    await this.place('tap', x, y);
    await sleep(60);
    await this.lift('tap');
  }

  cancel() {
    this.down.clear();
    return this.client.send('Input.dispatchTouchEvent', { type: 'touchCancel', touchPoints: [] });
  }
}

const box = async (page, selector) => (await page.$(selector)).boundingBox();
const centre = (b) => [b.x + b.width / 2, b.y + b.height / 2];
const describe = (b) => `${Math.round(b.width)} x ${Math.round(b.height)} at (${Math.round(b.x)}, ${Math.round(b.y)})`;

// The canvas fills the screen's height in landscape and its width in
// portrait; the buttons are big enough for a thumb, on the screen, below the
// canvas in portrait; nothing scrolls.
async function checkLayout(page, screen, orientation) {
  const canvas = await box(page, '#canvas');
  console.log(`${orientation} ${screen.width} x ${screen.height}: canvas ${describe(canvas)}`);
  const share = orientation === 'landscape' ? canvas.height / screen.height : canvas.width / screen.width;
  if (share < (orientation === 'landscape' ? 0.9 : 0.95)) fail(`the canvas fills ${share.toFixed(2)} of the screen`);
  if (canvas.x < 0 || canvas.y < 0 || canvas.x + canvas.width > screen.width + 1 ||
      canvas.y + canvas.height > screen.height + 1) fail('the canvas does not fit the screen');
  for (const label of ['Orbiters', 'Blast', 'Pause']) {
    const button = await box(page, `[aria-label="${label}"]`);
    if (!button) fail(`no ${label} button`);
    console.log(`  ${label}: ${describe(button)}`);
    if (Math.min(button.width, button.height) < THUMB_PIXELS) fail(`the ${label} button is too small for a thumb`);
    if (button.x < 0 || button.y < 0 || button.x + button.width > screen.width ||
        button.y + button.height > screen.height) fail(`the ${label} button is off the screen`);
    if (orientation === 'portrait' && button.y < canvas.y + canvas.height) fail(`the ${label} button covers the canvas`);
  }
  const scrolls = await page.evaluate(() => {
    const page = document.scrollingElement;
    return page.scrollWidth > innerWidth || page.scrollHeight > innerHeight;
  });
  if (scrolls) fail('the page scrolls');
}

// A phone's page from its start to the fight, with the music off so that
// the effects alone are heard.
async function phonePage(browser, problems, screen) {
  const page = await browser.newPage();
  watchPage(page, problems);
  await page.evaluateOnNewDocument(() => {
    if (location.protocol === 'http:')
      localStorage.setItem('brox.broxConfig.txt', 'musicVolume 0\n');
  });
  await watchForTitle(page);
  await page.setViewport(screen);
  await page.goto(url);
  await fightAfterTitle(page);
  return { page, fingers: new Fingers(await page.target().createCDPSession()) };
}

const leftHalf = (screen) => [screen.width * 0.2, screen.height * 0.75];
const rightHalf = (screen) => [screen.width * 0.7, screen.height * 0.5];

// A fresh round (F10, as the browser test has it): the fighter stands in the
// middle with its full health, and the enemies have yet to come in.
async function freshRound(page) {
  await page.keyboard.press('F10', { delay: 100 });
  await sleep(300);
}

// A finger back on the right half right after a tap fires for as long as it
// stays, past the end of the tap's shortest press. The touches are the
// page's own events: the protocol's cannot be relied on to lift a finger
// within 100 ms on a busy machine.
function firesAfterQuickRetouch(page) {
  return page.evaluate(async () => {
    const surface = document.getElementById('touchSurface');
    const send = (type, touch) => surface.dispatchEvent(new TouchEvent(type, {
      bubbles: true, cancelable: true, changedTouches: [touch], touches: type === 'touchend' ? [] : [touch] }));
    const [tap, hold] = [11, 12].map((identifier) =>
      new Touch({ identifier, target: surface, clientX: innerWidth * 0.7, clientY: innerHeight / 2 }));
    send('touchstart', tap);
    send('touchend', tap);
    send('touchstart', hold);
    await new Promise((resolve) => setTimeout(resolve, 200));
    const firing = Module.touchPad.buttons[7].pressed;
    send('touchend', hold);
    return firing;
  });
}

// A finger held on the right half fires, heard through Web Audio, once a
// lifted finger has let the sound start, as a click does.
async function checkFiring(page, fingers, screen) {
  await fingers.tap(...leftHalf(screen));
  await waitFor('the sound did not start at a touch', 2, () =>
    page.evaluate(() => Module.webAudio.context.state === 'running'));
  await freshRound(page);
  const quiet = await loudness(page, 600);
  await fingers.place('aim', ...rightHalf(screen));
  const firing = await loudness(page, 1000);
  await fingers.lift('aim');
  if (!(await firesAfterQuickRetouch(page))) fail('a finger back on the right half right after a tap stopped firing');
  const heard = (level) => `peak ${level.peak.toFixed(3)}, mean RMS ${level.rms.toFixed(4)}`;
  console.log(`Web Audio: ${heard(quiet)} idle, ${heard(firing)} with a finger held on the right half`);
  if (firing.peak < 0.03 || firing.rms < 3 * quiet.rms) fail('a finger held on the right half was not heard firing');
}

// Where the fighter is in the arena.
async function fighterAt(page) {
  const blob = await largest(page, FIGHTER, 'fighter');
  return [blob.x, blob.y];
}

// Drags the stick from a place on the left half by drag and holds it there
// until the fighter has gone 30 pixels that way, so that it stays away from
// the walls, where the enemies come in; answers how far it went.
async function moveWithStick(page, fingers, from, drag, what) {
  const before = await fighterAt(page);
  const length = Math.hypot(...drag);
  let moved = [0, 0];
  await fingers.place('move', ...from);
  await fingers.drag('move', from[0] + drag[0], from[1] + drag[1]);
  await waitFor(what, 3, async () => {
    const now = await fighterAt(page);
    moved = [Math.round(now[0] - before[0]), Math.round(now[1] - before[1])];
    return (moved[0] * drag[0] + moved[1] * drag[1]) / length > 30;
  });
  return moved;
}

// The left half's stick moves the fighter while a second finger on the right
// half aims; a cancelled touch lets go. The aiming finger fires too, and the
// chasers come in from the walls: each check is quick, in a fresh round,
// with the fighter near the middle.
async function checkSticks(page, fingers, screen) {
  const left = leftHalf(screen);
  const right = rightHalf(screen);
  await freshRound(page);
  await fingers.place('aim', ...right);
  await fingers.drag('aim', right[0] + 60, right[1]);
  const leftward = await moveWithStick(page, fingers, left, [-60, 0],
    'the stick dragged left did not move the fighter left while the other finger aimed');
  if ((await aimSide(page)) < 10) fail('a drag right on the right half did not turn the aim right');
  await fingers.drag('aim', right[0] - 60, right[1]);
  await waitFor('a drag left on the right half did not turn the aim left', 3, async () => (await aimSide(page)) < -10);
  await fingers.cancel();
  console.log(`two fingers: the stick dragged left moved the fighter by ${leftward} while the other aimed right, then left`);

  await freshRound(page);
  const rightward = await moveWithStick(page, fingers, left, [60, 0], 'the stick dragged right did not move the fighter right');
  await fingers.cancel();
  const atRest = await page.evaluate(() => !Module.touchPad.connected && Module.touchPad.axes.every((a) => a === 0));
  if (!atRest) fail('a cancelled touch left the touch pad held');
  // The screen shows the step before, and a step may be on its way: the
  // fighter stands from a moment after. A held stick would take it some
  // 100 pixels on in 400 ms; a chaser's knock moves it 20 or so any way.
  await sleep(200);
  const afterCancel = await movement(page, async () => {}, async () => {}, 400);
  console.log(`the stick dragged right moved the fighter by ${rightward}; after the touch was cancelled, by ${afterCancel}`);
  if (afterCancel > 40) fail('a cancelled touch did not let go of the stick');
}

// Orbiters calls three, Pause stops the round clock and starts it again.
// A blast costs more health than a fresh fighter has, so Blast is checked
// as the pad's A, the button the game sets off a blast with, held while the
// finger is on it.
async function checkButtons(page, fingers) {
  await freshRound(page);
  const buttonAt = async (label) => centre(await box(page, `[aria-label="${label}"]`));
  const press = async (label) => fingers.tap(...(await buttonAt(label)));
  await press('Orbiters');
  await waitFor('no three orbiters after Orbiters', 5, async () =>
    blobs(await pixels(page, ARENA), ORBITER).filter((b) => b.area >= 40).length === 3);
  const padA = () => page.evaluate(() => Module.touchPad.connected && Module.touchPad.buttons[0].pressed);
  await fingers.place('tap', ...(await buttonAt('Blast')));
  await sleep(200);
  const heldA = await padA();
  await fingers.lift('tap');
  await sleep(200);
  if (!heldA || (await padA())) fail('Blast did not hold the pad\'s A while touched, and only then');
  await press('Pause');
  await sleep(300);
  if (!(await clockStands(page))) fail('the round clock ran after Pause');
  await press('Pause');
  await sleep(300);
  if (await clockStands(page)) fail('the round clock stood after Pause a second time');
  console.log('Orbiters: three orbiters; Blast holds A; Pause pauses and resumes');
}

// Out of sight the sound rests, and a finger let go as the page went (a
// cancelled touch) does not wake it; it plays again when the page shows.
async function checkSoundRestsHidden(browser, page) {
  const state = () => page.evaluate(() => Module.webAudio.context.state);
  const other = await browser.newPage();
  await other.bringToFront();
  await waitFor('the sound played on out of sight', 3, async () => (await state()) === 'suspended');
  await page.evaluate(() => {
    const surface = document.getElementById('touchSurface');
    const touch = new Touch({ identifier: 21, target: surface, clientX: innerWidth * 0.7, clientY: innerHeight / 2 });
    for (const type of ['touchstart', 'touchcancel'])
      surface.dispatchEvent(new TouchEvent(type, { bubbles: true, cancelable: true, changedTouches: [touch],
                                                   touches: type === 'touchstart' ? [touch] : [] }));
  });
  await sleep(500);
  const away = await state();
  await page.bringToFront();
  await other.close();
  console.log(`out of sight, after a cancelled touch: the sound ${away}`);
  if (away !== 'suspended') fail('a cancelled touch woke the sound of a hidden page');
  await waitFor('the sound did not play again when the page showed', 3, async () => (await state()) === 'running');
}

// Chromium finds nothing against installing the page, and once its worker
// keeps the site, a reload with the network off plays.
async function checkInstallableAndOffline(page, fingers, screen) {
  const client = await page.target().createCDPSession();
  const { installabilityErrors } = await client.send('Page.getInstallabilityErrors');
  const errors = installabilityErrors.map((e) => e.errorId);
  console.log(`installability errors: ${errors.length ? errors.join(', ') : 'none'}`);
  if (errors.length) fail('Chromium would not install the page');
  await page.evaluate(() => navigator.serviceWorker.ready);
  await waitFor('the service worker did not take the page', 10, () =>
    page.evaluate(() => !!navigator.serviceWorker.controller));
  await page.setOfflineMode(true);
  await page.reload();
  await fightAfterTitle(page);
  const moved = await moveWithStick(page, fingers, leftHalf(screen), [60, 0], 'the page reloaded offline does not play');
  await fingers.lift('move');
  console.log(`offline reload: the fight began and the stick moved the fighter by ${moved}`);
  await page.setOfflineMode(false);
}

// The full-screen button takes the whole page, controls and all (headless
// Chromium has a screen of its own for it).
async function checkFullScreen(page, fingers) {
  await fingers.tap(...centre(await box(page, '[aria-label="Full screen"]')));
  await waitFor('Full screen did not take the whole page', 3, () =>
    page.evaluate(() => document.fullscreenElement === document.documentElement));
  await page.evaluate(() => document.exitFullscreen());
  console.log('Full screen takes the whole page');
}

// The phone during a fight: a thumb on the stick, a finger aiming and firing.
async function fightingShot({ page, fingers }, screen, name) {
  await fingers.place('aim', ...rightHalf(screen));
  await fingers.drag('aim', rightHalf(screen)[0] + 30, rightHalf(screen)[1] - 40);
  await fingers.place('move', ...leftHalf(screen));
  await fingers.drag('move', leftHalf(screen)[0] - 30, leftHalf(screen)[1] - 30);
  await sleep(300);
  await page.screenshot({ path: path.join(shots, `${name}.png`) });
  await fingers.cancel();
}

async function main(browser, problems) {
  const desktop = await browser.newPage();
  await desktop.setViewport({ width: 1280, height: 800 });
  await desktop.goto(url);
  if (await desktop.$eval('#touchControls', (e) => getComputedStyle(e).display !== 'none'))
    fail('touch controls show on a desktop');
  await desktop.close();
  console.log('no touch controls on a desktop');

  const wide = await phonePage(browser, problems, LANDSCAPE);
  await checkFullScreen(wide.page, wide.fingers);
  await checkLayout(wide.page, LANDSCAPE, 'landscape');
  await checkFiring(wide.page, wide.fingers, LANDSCAPE);
  await checkButtons(wide.page, wide.fingers);
  await checkSticks(wide.page, wide.fingers, LANDSCAPE);
  await fightingShot(wide, LANDSCAPE, 'landscape');
  await checkSoundRestsHidden(browser, wide.page);
  await checkInstallableAndOffline(wide.page, wide.fingers, LANDSCAPE);
  await wide.page.close();

  const tall = await phonePage(browser, problems, PORTRAIT);
  await checkLayout(tall.page, PORTRAIT, 'portrait');
  // Below the canvas, down and to the right: both ways at once.
  const moved = await moveWithStick(tall.page, tall.fingers, leftHalf(PORTRAIT), [40, 40],
    'in portrait the stick did not move the fighter');
  await tall.fingers.lift('move');
  console.log(`portrait: the stick dragged down and right moved the fighter by ${moved}`);
  if (Math.min(...moved) < 10) fail('in portrait the stick dragged down and right did not move the fighter both ways');
  await fightingShot(tall, PORTRAIT, 'portrait');
}

play(main, shots);
