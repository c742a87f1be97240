// Plays the page in headless Chromium the way a player would and measures it.
// Usage: node browserTest.js <page URL> <screenshot folder>
'use strict';
const fs = require('fs');
const path = require('path');
const {
  BACKGROUND, ORBITER, ARENA, PAUSE_LINE, sleep, fail, pixels, colourAt, same, blobs, aimSide, waitFor,
  clockStands, movement, loudness, watchForTitle, fightAfterTitle, cpuShare, play, watchPage,
} = require('./pageKit');

const [url, shots] = process.argv.slice(2);
const LOAD_TO_TITLE_BUDGET_MS = 3000;

// A press and its release between two passes of the game are not seen, as
// on the desktop: a tap holds the key for a few passes.
const TAP = { delay: 100 };

async function pauseLineShown(page) {
  const line = await pixels(page, PAUSE_LINE);
  for (let i = 0; i < line.data.length; i += 4) {
    if (!same(line.data.slice(i, i + 3), BACKGROUND)) return true;
  }
  return false;
}

// Steps a second (frames the game drew and the page showed, each a step
// while it fights), passes of the main loop a second, and the browser's CPU
// share, over a while.
async function measure(page, browser, seconds) {
  const counts = () => page.evaluate(() => [Module.shownFrames, Module.passes, performance.now()]);
  const [shown0, passes0, t0] = await counts();
  const cpu = await cpuShare(browser, seconds);
  const [shown1, passes1, t1] = await counts();
  const elapsed = (t1 - t0) / 1000;
  return { steps: (shown1 - shown0) / elapsed, passes: (passes1 - passes0) / elapsed, cpu };
}

// Waits for the next start's round title and then its fight.
async function nextFight(page, start) {
  await Promise.all([page.waitForNavigation(), start()]);
  await fightAfterTitle(page);
}

const note = (page) => page.$eval('#settingsNote', (element) => element.textContent);
const keyButton = (setting) => `button.key[data-setting="${setting}"]`;

// The form learns keys by their press, refuses the fixed ones and those in
// use, and the game plays with what it wrote at the next start: Right on L,
// the music off (so that the effects alone are heard below).
async function checkSettingsForm(page) {
  const right = keyButton('keyRight');
  await page.click(right);
  await page.keyboard.press('Tab', TAP);
  if (!(await note(page)).includes('fixed')) fail(`Tab was not refused as fixed: '${await note(page)}'`);
  await page.click(right);
  await page.keyboard.press('w', TAP);
  if (!(await note(page)).includes('already')) fail(`W, which is Up, was not refused: '${await note(page)}'`);
  if ((await page.$eval(right, (b) => b.textContent)) !== 'D') fail('a refused key changed Right');
  await page.click(right);
  await page.keyboard.press('l', TAP);
  if ((await page.$eval(right, (b) => b.textContent)) !== 'L') fail('Right did not become L');
  await page.$eval('#musicVolume', (range) => {
    range.value = 0;
    range.dispatchEvent(new Event('change'));
  });
  // A pad the page does not know of yet: the browser shows none until it is
  // pressed.
  await page.evaluateOnNewDocument(() => {
    const buttons = Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 }));
    window.scriptedPad = { id: 'Scripted pad', index: 0, connected: false, mapping: 'standard',
                           axes: [0, 0, 0, 0], buttons, timestamp: 0 };
    Object.defineProperty(navigator, 'getGamepads', {
      configurable: true,
      value: () => [window.scriptedPad.connected ? window.scriptedPad : null, null, null, null],
    });
  });
  await nextFight(page, () => page.click('#restart'));
  const withL = await movement(page, () => page.keyboard.down('l'), () => page.keyboard.up('l'));
  const withD = await movement(page, () => page.keyboard.down('d'), () => page.keyboard.up('d'));
  console.log(`after the form's start: fighter x with L held ${withL}, with D held ${withD}`);
  if (withL < 20 || Math.abs(withD) > 5) fail('the game did not play with Right on L');
  console.log('the form refuses Tab and a key in use; the game starts with Right on L');
}

// The scripted pad, connected only now, moves the fighter with its left
// stick (to the left: Right on L took it to the right wall) and fires with
// its right trigger, which is heard through Web Audio.
async function checkPadAndSound(page) {
  const setPad = (change) => page.evaluate(change);
  const stickLeft = () => setPad(() => {
    scriptedPad.connected = true;
    scriptedPad.axes[0] = -1;
  });
  const moved = await movement(page, stickLeft, () => setPad(() => { scriptedPad.axes[0] = 0; }));
  console.log(`fighter x with the pad's left stick left: ${moved}`);
  if (moved > -20) fail('the pad connected after the start did not move the fighter');

  const state = await page.evaluate(() => Module.webAudio.context.state);
  if (state !== 'running') fail(`the AudioContext is ${state} after the player's keys`);
  // While the page is left alone (reading the canvas stalls it), nothing
  // queued may run out.
  // A fresh round: the fighter back in the middle, away from the enemies
  // coming in, so that it is quiet until it fires.
  await page.keyboard.press('F10', TAP);
  await sleep(300);
  const dryBefore = await page.evaluate(() => Module.webAudio.underruns);
  const quiet = await loudness(page, 600);
  await setPad(() => Object.assign(scriptedPad.buttons[7], { pressed: true, value: 1 }));
  const firing = await loudness(page, 1000);
  await setPad(() => Object.assign(scriptedPad.buttons[7], { pressed: false, value: 0 }));
  const audio = await page.evaluate(() => ({ chunks: Module.webAudio.chunks, underruns: Module.webAudio.underruns,
                                             lead: Module.webAudio.nextStart - Module.webAudio.context.currentTime }));
  const dry = audio.underruns - dryBefore;
  const heard = (level) => `peak ${level.peak.toFixed(3)}, mean RMS ${level.rms.toFixed(4)}`;
  console.log(`Web Audio: ${heard(quiet)} idle, ${heard(firing)} with the right trigger held; ` +
              `${audio.chunks} chunks queued, ${Math.round(audio.lead * 1000)} ms ahead; ran dry ${dry} times ` +
              `in those 1.6 s, ${audio.underruns} since the page loaded`);
  if (firing.peak < 0.03 || firing.rms < 3 * quiet.rms) fail('firing with the pad was not heard');
  if (dry > 0) fail('the sound ran dry while the page was left alone');
}

// The resolution chosen in the form holds after a reload, and the canvas
// keeps the screen's aspect in a wide and a narrow window.
async function checkResolutionAndScaling(page, shot) {
  await page.select('#resolution', '1024');
  await page.reload();
  await page.waitForFunction(() => window.Module && Module.webScreen, { timeout: 10000 });
  const held = await page.evaluate(() => [document.getElementById('resolution').value, canvas.width, canvas.height]);
  if (held.join() !== '1024,1024,768') fail(`after a reload the form and the screen are ${held.join()}`);
  console.log('the form\'s 1024 x 768 holds after a reload');
  for (const [name, width, height] of [['wide', 1280, 800], ['narrow', 880, 700]]) {
    await page.setViewport({ width, height });
    await sleep(300);
    const box = await (await page.$('#canvas')).boundingBox();
    console.log(`${width} x ${height} window: canvas ${Math.round(box.width)} x ${Math.round(box.height)} ` +
                `at (${Math.round(box.x)}, ${Math.round(box.y)})`);
    if (Math.abs(box.width / box.height - 4 / 3) > 0.01) fail(`the canvas lost its aspect in the ${name} window`);
    if (box.x < 0 || box.x + box.width > width + 1 || box.width < width / 2) fail(`the canvas does not fit the ${name} window`);
    await shot(name);
  }
}

async function main(browser, problems) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 800 });
  watchPage(page, problems);
  // Which keys and clicks the page kept from the browser, seen after the
  // game's own handlers.
  await page.evaluateOnNewDocument(() => {
    window.kept = {};
    const note = (name) => (e) => { window.kept[name(e)] = e.defaultPrevented; };
    window.addEventListener('keydown', note((e) => e.code));
    window.addEventListener('contextmenu', note(() => 'contextmenu'));
  });
  await watchForTitle(page);
  const shot = (name) => page.screenshot({ path: path.join(shots, `${name}.png`), fullPage: true });

  await page.goto(url);
  await page.waitForFunction(() => window.titleShownAt !== undefined, { timeout: 10000 });
  const loadToTitle = await page.evaluate(() => window.titleShownAt);
  const title = await page.evaluate(() => window.titlePicture);
  fs.writeFileSync(path.join(shots, 'title.png'), Buffer.from(title.split(',')[1], 'base64'));
  if (!same(colourAt(await pixels(page, { x: 189, y: 300, w: 1, h: 1 }), 189, 300), BACKGROUND))
    fail('the background beside the arena is not 48,48,48');
  console.log(`round title shown ${Math.round(loadToTitle)} ms after the page began to load`);
  if (loadToTitle > LOAD_TO_TITLE_BUDGET_MS) fail(`the title took longer than ${LOAD_TO_TITLE_BUDGET_MS} ms`);

  await fightAfterTitle(page);
  console.log('fight begun');
  if (!(await page.evaluate(() => document.hasFocus()))) fail('the page does not have the focus');
  // The mouse rests in a corner of the canvas, off the arena. The page
  // scales the canvas to its window.
  const canvasBox = await (await page.$('#canvas')).boundingBox();
  const scale = canvasBox.width / 800;
  const at = (x, y) => [canvasBox.x + x * scale, canvasBox.y + y * scale];
  await page.mouse.move(...at(20, 580));

  const moved = await movement(page, () => page.keyboard.down('d'), () => page.keyboard.up('d'));
  await shot('moved');
  console.log(`fighter x with D held: ${moved}`);
  if (moved < 20) fail('the fighter did not move right with D held');

  // A fresh round's fighter stands in the middle and can pay for three
  // orbiters. Mouse movement alone turns the aim, below the arena.
  await page.keyboard.press('F10', TAP);
  await page.mouse.move(...at(300, 580), { steps: 20 });
  await waitFor('moving the mouse right did not turn the aim right', 3, async () => (await aimSide(page)) > 10);
  await page.mouse.move(...at(20, 580), { steps: 20 });
  await waitFor('moving the mouse left did not turn the aim left', 3, async () => (await aimSide(page)) < -10);
  console.log('mouse movement turns the aim right and left');
  await page.mouse.click(...at(20, 580), { button: 'right', ...TAP });
  await waitFor('no three orbiters after a right click', 5, async () =>
    blobs(await pixels(page, ARENA), ORBITER).filter((b) => b.area >= 40).length === 3);
  await shot('orbiters');
  console.log('right click: three orbiters');
  // The click locked the pointer; aiming goes on by movement alone.
  const locked = await page.evaluate(() => document.pointerLockElement && document.pointerLockElement.id);
  if (locked !== 'canvas') fail('a click on the canvas did not lock the pointer');
  await page.mouse.move(...at(300, 580), { steps: 20 });
  await waitFor('with the pointer locked, moving the mouse right did not turn the aim', 3,
    async () => (await aimSide(page)) > 10);
  console.log('the click locked the pointer; the aim follows the movement');

  const rate = await measure(page, browser, 5);
  console.log(`in the fight: ${rate.steps.toFixed(1)} steps/s, ${rate.passes.toFixed(1)} passes/s, ` +
              `browser CPU ${rate.cpu.toFixed(0)} % of one core`);
  if (rate.steps < 27 || rate.steps > 31) fail('the fight does not run at 30 steps a second');

  // A fresh fighter: the one that paid for three orbiters may be lost, and a
  // lost round restarts unpaused, in the middle of the checks below.
  await page.keyboard.press('F10', TAP);
  await page.keyboard.press('Tab', TAP);
  await sleep(300);
  if (!(await clockStands(page))) fail('the round clock ran while paused');
  await shot('paused');
  await page.keyboard.press('Tab', TAP);
  await sleep(300);
  if (await clockStands(page)) fail('the round clock did not resume after Tab');
  console.log('Tab pauses and resumes the round clock');

  const kept = await page.evaluate(() => window.kept);
  for (const name of ['Tab', 'F10', 'KeyD', 'contextmenu']) {
    if (!kept[name]) fail(`the browser was let act on ${name}`);
  }
  const focused = await page.evaluate(() => document.activeElement.id);
  if (focused !== 'canvas') fail(`Tab moved the focus to '${focused}'`);
  console.log('Tab, F10, D and the context menu kept from the browser; the canvas keeps the focus');

  // Another tab in front takes the page's focus and hides it.
  const other = await browser.newPage();
  await other.bringToFront();
  await waitFor('the page kept the focus behind another tab', 5, async () =>
    !(await page.evaluate(() => document.hasFocus())));
  await sleep(1500);
  if (!(await clockStands(page))) fail('the round clock ran with the page in the background');
  // Out of sight the page neither paints nor plays, and a pass comes only
  // every 100 ms.
  const away = await page.evaluate(async () => {
    const [shown, passes] = [Module.shownFrames, Module.passes];
    await new Promise((resolve) => setTimeout(resolve, 1000));
    return { shown: Module.shownFrames - shown, passes: Module.passes - passes, audio: Module.webAudio.context.state };
  });
  console.log(`out of sight for 1 s: ${away.shown} frames shown, ${away.passes} passes, the sound ${away.audio}`);
  if (away.shown > 0 || away.passes > 12 || away.audio !== 'suspended') fail('the page went on working out of sight');
  await page.bringToFront();
  await other.close();
  await sleep(500);
  const audio = await page.evaluate(() => Module.webAudio.context.state);
  if (audio !== 'running') fail(`the sound is ${audio} after the page came back`);
  if (!(await clockStands(page))) fail('the fight resumed on its own when the page came back');
  if (!(await pauseLineShown(page))) fail('no pause line after the focus came back');
  await shot('focus-paused');
  await page.keyboard.press('Tab', TAP);
  await sleep(300);
  if (await clockStands(page)) fail('Tab did not resume the fight after the focus came back');
  console.log('leaving the page pauses the fight; Tab resumes it');

  await page.keyboard.press('Escape', TAP);
  await page.waitForFunction(() => {
    const status = document.getElementById('status');
    return !status.hidden && status.textContent.includes('ended');
  }, { timeout: 5000 });
  await shot('ended');
  await page.click('#status');
  await page.waitForFunction(() => window.Module && Module.webScreen, { timeout: 10000 });
  console.log('Escape ends the game; a click starts it again');

  await checkSettingsForm(page);
  await checkPadAndSound(page);
  await checkResolutionAndScaling(page, shot);
}

play(main, shots);
