// What the page costs, in one run of one browser: the browser's CPU share of
// one core (all its processes) for a blank page, for the floor of showing a
// game's frames (a bare page that puts a fresh picture of the game's size on
// a canvas 30 times a second, by putImageData and by a WebGL texture upload,
// shown as large as the game's canvas), and for the game's page in a fight
// before its sound is woken, with the sound and paused; then the ratios.
// Usage: node costTest.js <page URL> <floor page URL> <seconds a page> <table file>
'use strict';
const fs = require('fs');
const { withBrowser, cpuShare, sleep } = require('./pageKit');

const [url, floorUrl, secondsText, tableFile] = process.argv.slice(2);
const seconds = Number(secondsText);
const RESOLUTION = { w: 640, h: 480 };

// The game at the floor's size: the page's settings form keeps its choice
// in local storage.
async function startGame(page) {
  await page.evaluateOnNewDocument(() => localStorage.setItem('brox.broxConfig.txt', 'resolution 640\n'));
  await page.goto(url);
  await page.waitForFunction(() => window.Module && Module.webScreen && Module.shownFrames > 0, { timeout: 10000 });
  const size = await page.evaluate(() => [canvas.width, canvas.height]);
  if (size.join() !== `${RESOLUTION.w},${RESOLUTION.h}`) throw new Error(`the game's canvas is ${size.join(' x ')}`);
  await sleep(4000);  // past the round's title
}

// Frames shown and passes a second over a measurement.
async function measureGame(browser, page) {
  const counts = () => page.evaluate(() => [Module.shownFrames, Module.passes, performance.now()]);
  const [shown0, passes0, t0] = await counts();
  const cpu = await cpuShare(browser, seconds);
  const [shown1, passes1, t1] = await counts();
  const elapsed = (t1 - t0) / 1000;
  return { cpu, shown: (shown1 - shown0) / elapsed, passes: (passes1 - passes0) / elapsed };
}

async function measureFloor(browser, path, display) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 800 });
  const query = `w=${RESOLUTION.w}&h=${RESOLUTION.h}&rate=30&width=${display.width}&height=${display.height}&path=${path}`;
  await page.goto(`${floorUrl}?${query}`);
  await sleep(1000);
  const available = await page.evaluate(() => window.floor.available);
  const shown0 = await page.evaluate(() => window.floor.shown);
  const cpu = available ? await cpuShare(browser, seconds) : NaN;
  const shown = ((await page.evaluate(() => window.floor.shown)) - shown0) / seconds;
  await page.close();
  return { cpu, shown, available };
}

async function measureBlank(browser) {
  const page = await browser.newPage();
  await page.goto('about:blank');
  await sleep(1000);
  const cpu = await cpuShare(browser, seconds);
  await page.close();
  return { cpu };
}

const percent = (value) => (Number.isNaN(value) ? 'n/a' : `${value.toFixed(1)} %`);

function table(rows, fightRatio, silentRatio, pausedRatio) {
  const lines = [
    '| page | CPU, share of one core | frames shown a second |',
    '|---|---|---|',
    ...rows.map(([name, m]) => `| ${name} | ${percent(m.cpu)} | ${m.shown === undefined ? '' : m.shown.toFixed(1)} |`),
    '',
    `The fight costs ${fightRatio.toFixed(2)} times the floor (goal: at most 1.3), ${silentRatio.toFixed(2)} ` +
      `times before its sound is woken; the paused fight ${pausedRatio.toFixed(2)} times the fight (goal: at most 0.5).`,
  ];
  return lines.join('\n') + '\n';
}

async function main() {
  await withBrowser(async (browser) => {
    const game = await browser.newPage();
    await game.setViewport({ width: 1280, height: 800 });
    await startGame(game);
    const box = await (await game.$('#canvas')).boundingBox();
    const display = { width: Math.round(box.width), height: Math.round(box.height) };
    const silent = await measureGame(browser, game);
    // A key wakes the sound, as a player's first key does (a modifier does
    // not count as one); Q plays nothing.
    await game.keyboard.press('q', { delay: 100 });
    await sleep(500);
    const audio = await game.evaluate(() => Module.webAudio.context.state);
    if (audio !== 'running') throw new Error(`the sound is ${audio} after a key`);
    const fight = await measureGame(browser, game);
    await game.keyboard.press('Tab', { delay: 100 });
    await sleep(500);
    const paused = await measureGame(browser, game);
    await game.close();
    const floor = await measureFloor(browser, 'put', display);
    const webgl = await measureFloor(browser, 'webgl', display);
    const blank = await measureBlank(browser);
    const size = `${RESOLUTION.w} x ${RESOLUTION.h} shown at ${display.width} x ${display.height}`;
    const rows = [
      ['blank page', blank],
      [`floor: putImageData, ${size}, 30 a second`, floor],
      [`floor: WebGL texture upload, same`, webgl],
      [`the game, fighting, ${size}, before its sound is woken`, silent],
      ['the game, fighting, with its sound', fight],
      ['the game, paused, with its sound', paused],
    ];
    const text = table(rows, fight.cpu / floor.cpu, silent.cpu / floor.cpu, paused.cpu / fight.cpu);
    process.stdout.write(text);
    console.log(`passes of the main loop a second: ${fight.passes.toFixed(1)} fighting, ${paused.passes.toFixed(1)} paused`);
    if (tableFile) fs.writeFileSync(tableFile, text);
  });
}

main().catch((error) => {
  console.error(`FAIL: ${error.message}`);
  process.exit(1);
});
