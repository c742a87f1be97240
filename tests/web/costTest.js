// What the page costs, in one run of one browser: the browser's CPU share of
// one core (all its processes) for a blank page, for the floor of showing a
// game's frames (a bare page that puts a fresh picture of the game's size on
// a canvas 30 times a second, by putImageData and by a WebGL texture upload,
// shown as large as the game's canvas), and for the game's page in a fight
// before its sound is woken, with the sound and paused; each by the part of
// the browser that spent it, and for the game the time its program ran
// between turns; then the ratios. The floor is measured before the game and
// after it, and the two are averaged, so that a machine that speeds up or
// slows down meanwhile weighs on both sides alike.
// Usage: node costTest.js <page URL> <floor page URL> <seconds a page> <table file>
'use strict';
const fs = require('fs');
const { withBrowser, cpuParts, sleep } = require('./pageKit');

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

// The CPU by part, frames shown and passes a second over a measurement, and
// the share of a core the game's own program took (its passes without the
// platform's copies onto the screen) and those copies.
async function measureGame(browser, page) {
  const counts = () => page.evaluate(() =>
    [Module.shownFrames, Module.passes, Module.programMs, Module.copyMs, performance.now()]);
  const [shown0, passes0, program0, copy0, t0] = await counts();
  const cpu = await cpuParts(browser, seconds);
  const [shown1, passes1, program1, copy1, t1] = await counts();
  const elapsed = (t1 - t0) / 1000;
  const copy = (copy1 - copy0) / (10 * elapsed);
  return { cpu, shown: (shown1 - shown0) / elapsed, passes: (passes1 - passes0) / elapsed,
           program: (program1 - program0) / (10 * elapsed) - copy, copy };
}

async function measureFloor(browser, path, display) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 800 });
  const query = `w=${RESOLUTION.w}&h=${RESOLUTION.h}&rate=30&width=${display.width}&height=${display.height}&path=${path}`;
  await page.goto(`${floorUrl}?${query}`);
  await sleep(1000);
  const available = await page.evaluate(() => window.floor.available);
  const shown0 = await page.evaluate(() => window.floor.shown);
  const cpu = available ? await cpuParts(browser, seconds) : null;
  const shown = ((await page.evaluate(() => window.floor.shown)) - shown0) / seconds;
  await page.close();
  return { cpu, shown, available };
}

async function measureBlank(browser) {
  const page = await browser.newPage();
  await page.goto('about:blank');
  await sleep(1000);
  const cpu = await cpuParts(browser, seconds);
  await page.close();
  return { cpu };
}

// The mean of two measurements of the floor, part by part.
function meanFloor(a, b) {
  const cpu = Object.fromEntries(Object.keys(a.cpu).map((k) => [k, (a.cpu[k] + b.cpu[k]) / 2]));
  return { cpu, shown: (a.shown + b.shown) / 2 };
}

const percent = (value) => (value === undefined ? '' : `${value.toFixed(1)} %`);

function table(rows, fight, floor, ratios) {
  const [fightRatio, silentRatio, pausedRatio] = ratios;
  const room = 0.3 * floor.cpu.total;
  const own = fight.program + fight.cpu.sound + fight.cpu.pads;
  const lines = [
    '| page | CPU, share of one core | page\'s main thread | of it, the game\'s own program | compositing | sound | pad polling | other | frames shown a second |',
    '|---|---|---|---|---|---|---|---|---|',
    ...rows.map(([name, m]) => (m.cpu
      ? `| ${name} | ${percent(m.cpu.total)} | ${percent(m.cpu.main)} | ${percent(m.program)} | ${percent(m.cpu.compositing)} | ` +
        `${percent(m.cpu.sound)} | ${percent(m.cpu.pads)} | ${percent(m.cpu.other)} | ${m.shown === undefined ? '' : m.shown.toFixed(1)} |`
      : `| ${name} | n/a | | | | | | | |`)),
    '',
    `The fight costs ${fightRatio.toFixed(2)} times the floor (goal: at most 1.3), ${silentRatio.toFixed(2)} ` +
      `times with its sound suspended; the paused fight ${pausedRatio.toFixed(2)} times the fight (goal: at most 0.5).`,
    '',
    `What the goal of 1.3 leaves above the floor, ${room.toFixed(1)} % of a core, against what the fight spends there ` +
      `whatever the platform does: the game's own program ${percent(fight.program)}, its sound ${percent(fight.cpu.sound)} ` +
      `and the browser's polling for pads ${percent(fight.cpu.pads)}, together ${percent(own)}. The platform's copies ` +
      `onto the screen took ${percent(fight.copy)} in the fight.`,
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
    await game.close();
    const floorBefore = await measureFloor(browser, 'put', display);
    const page = await browser.newPage();
    await page.setViewport({ width: 1280, height: 800 });
    await startGame(page);
    // Headless Chromium may let the sound start before any key: it is
    // suspended as a page's is until the player's first key or click.
    await page.evaluate(() => Module.webAudio.context.suspend());
    const silent = await measureGame(browser, page);
    // A key wakes the sound, as a player's first key does (a modifier does
    // not count as one); Q plays nothing.
    await page.keyboard.press('q', { delay: 100 });
    await sleep(500);
    const audio = await page.evaluate(() => Module.webAudio.context.state);
    if (audio !== 'running') throw new Error(`the sound is ${audio} after a key`);
    const fight = await measureGame(browser, page);
    await page.keyboard.press('Tab', { delay: 100 });
    await sleep(500);
    const paused = await measureGame(browser, page);
    await page.close();
    const floor = meanFloor(floorBefore, await measureFloor(browser, 'put', display));
    const webgl = await measureFloor(browser, 'webgl', display);
    const blank = await measureBlank(browser);
    const size = `${RESOLUTION.w} x ${RESOLUTION.h} shown at ${display.width} x ${display.height}`;
    const rows = [
      ['blank page', blank],
      [`floor: putImageData, ${size}, 30 a second (mean of before and after the game)`, floor],
      [`floor: WebGL texture upload, same`, webgl],
      [`the game, fighting, ${size}, its sound suspended (as before the first key)`, silent],
      ['the game, fighting, with its sound', fight],
      ['the game, paused, with its sound', paused],
    ];
    const ratios = [fight.cpu.total / floor.cpu.total, silent.cpu.total / floor.cpu.total, paused.cpu.total / fight.cpu.total];
    const text = table(rows, fight, floor, ratios);
    process.stdout.write(text);
    console.log(`passes of the main loop a second: ${fight.passes.toFixed(1)} fighting, ${paused.passes.toFixed(1)} paused`);
    if (tableFile) fs.writeFileSync(tableFile, text);
  });
}

main().catch((error) => {
  console.error(`FAIL: ${error.message}`);
  process.exit(1);
});
