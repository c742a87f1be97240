// A long session in headless Chromium: a scripted player moves, fires, calls
// orbiters and blasts, and restarts rounds now and then, while enemies win
// rounds too; every 10 s the page's memory (the renderer's resident memory
// and the program's wasm memory), the passes of the main loop, the frames
// shown and the sound's running dry are read. After the first part of the
// run (the settling), neither memory may grow by 5 % or more, the main loop
// must keep 45 passes a second (so that each of the timer's 30 ticks a
// second finds a pass, which takes its step) and the sound may never run
// dry while the page got its passes in time: a page held up for longer than
// the sound's lead (a busy machine) is counted apart and reported.
// Usage: node soakTest.js <page URL> <seconds> <settling seconds>
'use strict';
const { withBrowser, browserProcesses, sleep } = require('./pageKit');

const [url, secondsText, settleText] = process.argv.slice(2);
const seconds = Number(secondsText);
const settle = Number(settleText);
const SAMPLE_MS = 10000;
const GROWTH_LIMIT = 0.05;
const LEAST_PASSES_A_SECOND = 45;

// A fixed sequence, so that two runs play alike: a linear congruential one.
let seed = 12345;
const random = () => (seed = (seed * 1103515245 + 12345) % 2147483648) / 2147483648;
const pick = (list) => list[Math.floor(random() * list.length)];

// One of the player's moves, 0.3 to 1.5 s long.
async function playOneMove(page, at) {
  const hold = 300 + random() * 1200;
  const move = pick(['walk', 'walk', 'fire', 'fireWalking', 'orbiters', 'blast', 'aim', 'restart']);
  const key = pick(['w', 'a', 's', 'd']);
  if (move === 'walk' || move === 'fireWalking') await page.keyboard.down(key);
  if (move === 'fire' || move === 'fireWalking') await page.mouse.down();
  if (move === 'orbiters') await page.mouse.click(...at, { button: 'right', delay: 100 });
  if (move === 'blast') await page.keyboard.press('Space', { delay: 100 });
  if (move === 'aim') await page.mouse.move(at[0] + (random() - 0.5) * 400, at[1], { steps: 10 });
  if (move === 'restart' && random() < 0.2) await page.keyboard.press('F10', { delay: 100 });
  await sleep(hold);
  if (move === 'walk' || move === 'fireWalking') await page.keyboard.up(key);
  if (move === 'fire' || move === 'fireWalking') await page.mouse.up();
}

// The page's renderer is the one with the most resident memory.
async function sample(browser, page) {
  const renderers = browserProcesses(browser).filter((p) => p.renderer);
  const rss = Math.max(...renderers.map((p) => p.rss));
  const inPage = await page.evaluate(() => ({
    wasm: Module.HEAP8.length, shown: Module.shownFrames, passes: Module.passes, time: performance.now(),
    dry: Module.webAudio.underruns, starved: Module.webAudio.starved, audio: Module.webAudio.context.state,
  }));
  return { rss, ...inPage };
}

const megabytes = (bytes) => `${(bytes / 1048576).toFixed(1)} MB`;

async function main() {
  await withBrowser(async (browser) => {
    const page = await browser.newPage();
    await page.setViewport({ width: 1280, height: 800 });
    const problems = [];
    page.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
    await page.goto(url);
    await page.waitForFunction(() => window.Module && Module.webScreen && Module.shownFrames > 0, { timeout: 10000 });
    const box = await (await page.$('#canvas')).boundingBox();
    const at = [box.x + box.width / 2, box.y + box.height * 0.95];
    await page.mouse.move(...at);
    // A key wakes the sound, as a player's first key does (a modifier does
    // not count as one); Q plays nothing.
    await page.keyboard.press('q', { delay: 100 });

    const start = Date.now();
    const samples = [];
    let nextSample = start;
    while (Date.now() - start < seconds * 1000) {
      if (Date.now() >= nextSample) {
        const s = await sample(browser, page);
        samples.push({ ...s, at: (Date.now() - start) / 1000 });
        nextSample += SAMPLE_MS;
      }
      await playOneMove(page, at);
    }
    samples.push({ ...(await sample(browser, page)), at: (Date.now() - start) / 1000 });

    const perSecond = (what, from, to) => ((to[what] - from[what]) * 1000) / (to.time - from.time);
    samples.slice(1).forEach((s, i) => Object.assign(s, { shownRate: perSecond('shown', samples[i], s),
                                                        passRate: perSecond('passes', samples[i], s) }));
    const base = samples.find((s) => s.at >= settle);
    const end = samples[samples.length - 1];
    const after = samples.filter((s) => s.at > settle);
    for (const s of samples.filter((s, i) => i > 0 && (Math.round(s.at) % 60 < 10 || s === end || s === base))) {
      console.log(`at ${Math.round(s.at)} s: renderer ${megabytes(s.rss)}, wasm memory ${megabytes(s.wasm)}, ` +
                  `${s.passRate.toFixed(1)} passes and ${s.shownRate.toFixed(1)} frames shown a second, ` +
                  `sound ran dry ${s.dry} times (${s.starved} starved), audio ${s.audio}`);
    }
    const growth = (what) => (end[what] - base[what]) / base[what];
    const passes = perSecond('passes', base, end);
    const slowest = Math.min(...after.map((s) => s.passRate));
    const dry = end.dry - base.dry, starved = end.starved - base.starved;
    console.log(`from ${Math.round(base.at)} s to ${Math.round(end.at)} s: renderer ${(100 * growth('rss')).toFixed(1)} %, ` +
                `wasm memory ${(100 * growth('wasm')).toFixed(1)} %, ${passes.toFixed(1)} passes a second ` +
                `(slowest 10 s: ${slowest.toFixed(1)}), ${perSecond('shown', base, end).toFixed(1)} frames shown a second, ` +
                `sound ran dry ${dry} times, ${starved} of them after the page was held up longer than the lead`);
    const failures = [
      growth('rss') >= GROWTH_LIMIT && 'the renderer\'s memory grew by 5 % or more',
      growth('wasm') >= GROWTH_LIMIT && 'the wasm memory grew by 5 % or more',
      passes < LEAST_PASSES_A_SECOND && 'the main loop fell below 45 passes a second',
      dry > starved && 'the sound ran dry while the page had its passes',
      end.audio !== 'running' && `the sound is ${end.audio}`,
      ...problems,
    ].filter((failure) => failure);
    if (failures.length) throw new Error(failures.join('; '));
  });
}

main().then(() => console.log('PASS'), (error) => {
  console.error(`FAIL: ${error.message}`);
  process.exit(1);
});
