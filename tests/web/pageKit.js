// What the page's checks and measurements share: the page's colours and
// places on its 800 x 600 canvas, reading its pixels, looking for the fighter
// and the aim, listening to its sound, Debian's Chromium started headless
// with a fresh profile, and the CPU time and memory of all its processes.
// Round 0's arena is 420 x 420 at (190, 90); the banners are centred with
// their top border at y 265, the round clock is drawn at (130, 523) and the
// pause line to its right.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');

const BACKGROUND = [48, 48, 48];
const TITLE_BORDER = [255, 195, 60];
const FIGHTER = [70, 170, 255];
const ORBITER = [70, 220, 255];
const ARROWHEAD = [225, 255, 120];  // on the aiming marker's ring
const ARENA = { x: 190, y: 90, w: 420, h: 420 };
const CLOCK = { x: 125, y: 523, w: 80, h: 10 };
const PAUSE_LINE = { x: 205, y: 523, w: 170, h: 10 };

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

function fail(message) {
  throw new Error(message);
}

// The canvas's pixels in a rectangle, as RGBA bytes, read in the page.
async function pixels(page, r) {
  const data = await page.evaluate((r) => {
    const context = document.getElementById('canvas').getContext('2d');
    return Array.from(context.getImageData(r.x, r.y, r.w, r.h).data);
  }, r);
  return { ...r, data };
}

function colourAt(image, x, y) {
  const i = ((y - image.y) * image.w + (x - image.x)) * 4;
  return image.data.slice(i, i + 3);
}

const same = (a, b) => a[0] === b[0] && a[1] === b[1] && a[2] === b[2];

// The connected areas of one exact colour (8-neighbourhood): [{area, x, y}].
function blobs(image, colour) {
  const seen = new Uint8Array(image.w * image.h);
  const found = [];
  const matches = (i) => same(image.data.slice(i * 4, i * 4 + 3), colour);
  for (let start = 0; start < seen.length; start++) {
    if (seen[start] || !matches(start)) continue;
    const stack = [start];
    seen[start] = 1;
    let area = 0, sumX = 0, sumY = 0;
    while (stack.length) {
      const i = stack.pop();
      const x = i % image.w, y = Math.floor(i / image.w);
      area++; sumX += x; sumY += y;
      for (let dy = -1; dy <= 1; dy++) {
        for (let dx = -1; dx <= 1; dx++) {
          const nx = x + dx, ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= image.w || ny >= image.h) continue;
          const n = ny * image.w + nx;
          if (!seen[n] && matches(n)) { seen[n] = 1; stack.push(n); }
        }
      }
    }
    found.push({ area, x: image.x + sumX / area, y: image.y + sumY / area });
  }
  return found.sort((a, b) => b.area - a.area);
}

// The largest area of a colour in the arena, looked for over a moment: as
// the fight begins the fighter may not show in its own colour yet.
async function largest(page, colour, what) {
  let blob;
  await waitFor(`no ${what} in the arena`, 2, async () => (blob = blobs(await pixels(page, ARENA), colour)[0]));
  return blob;
}

const fighterX = async (page) => (await largest(page, FIGHTER, 'fighter')).x;

// Where the aiming marker's arrowhead points, seen from the fighter: > 0 right.
async function aimSide(page) {
  return (await largest(page, ARROWHEAD, 'aiming marker')).x - (await fighterX(page));
}

async function waitFor(what, seconds, check) {
  const end = Date.now() + seconds * 1000;
  while (Date.now() < end) {
    if (await check()) return;
    await sleep(50);
  }
  fail(what);
}

async function clockStands(page) {
  const before = await pixels(page, CLOCK);
  await sleep(1000);
  const after = await pixels(page, CLOCK);
  return before.data.every((value, i) => value === after.data[i]);
}

// How far the fighter moves right, in pixels, while something is held for
// a while.
async function movement(page, hold, letGo, ms = 600) {
  const before = await fighterX(page);
  await hold();
  await sleep(ms);
  const after = await fighterX(page);
  await letGo();
  return Math.round(after - before);
}

// What the page's analyser heard over a while: the loudest sample, and the
// mean of its RMS (one stray effect barely moves it, steady firing does).
function loudness(page, ms) {
  return page.evaluate(async (ms) => {
    const analyser = Module.webAudio.analyser;
    const data = new Float32Array(analyser.fftSize);
    let peak = 0, rmsSum = 0, looks = 0;
    for (const end = performance.now() + ms; performance.now() < end; looks++) {
      analyser.getFloatTimeDomainData(data);
      let squares = 0;
      for (const value of data) {
        peak = Math.max(peak, Math.abs(value));
        squares += value * value;
      }
      rmsSum += Math.sqrt(squares / data.length);
      await new Promise((resolve) => setTimeout(resolve, 40));
    }
    return { peak, rms: rmsSum / looks };
  }, ms);
}

// The page's every animation frame looks for the round title's border,
// which shows for 15 passes only, and notes when it first showed.
function watchForTitle(page) {
  return page.evaluateOnNewDocument((border) => {
    const watch = () => {
      const canvas = document.getElementById('canvas');
      if (canvas && window.Module && Module.webScreen) {
        const p = canvas.getContext('2d').getImageData(400, 265, 1, 1).data;
        if (p[0] === border[0] && p[1] === border[1] && p[2] === border[2]) {
          window.titleShownAt = performance.now();
          window.titlePicture = canvas.toDataURL('image/png');
          return;
        }
      }
      requestAnimationFrame(watch);
    };
    requestAnimationFrame(watch);
  }, TITLE_BORDER);
}

// Waits for the round title of a page watched for it and then its fight.
async function fightAfterTitle(page) {
  await page.waitForFunction(() => window.titleShownAt !== undefined, { timeout: 10000 });
  await waitFor('the fight did not begin', 5, async () =>
    !same(colourAt(await pixels(page, { x: 400, y: 265, w: 1, h: 1 }), 400, 265), TITLE_BORDER));
}

// Runs use(browser) in a fresh headless Chromium and closes it afterwards.
async function withBrowser(use) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'brox-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    userDataDir: profile,
    args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--no-first-run'],
  });
  try {
    return await use(browser);
  } finally {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
}

// Every process under the browser's, from /proc: [{pid, cpu seconds, rss
// bytes, renderer}].
function browserProcesses(browser) {
  const ticks = 100;
  const pageSize = 4096;
  const stats = fs.readdirSync('/proc').filter((name) => /^\d+$/.test(name)).flatMap((pid) => {
    try {
      const stat = fs.readFileSync(`/proc/${pid}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      const renderer = fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8').includes('--type=renderer');
      return [{ pid: Number(pid), parent: Number(fields[1]), cpu: (Number(fields[11]) + Number(fields[12])) / ticks,
                rss: Number(fields[21]) * pageSize, renderer }];
    } catch (gone) {
      return [];
    }
  });
  const family = new Set([browser.process().pid]);
  for (let grew = true; grew;) {
    grew = false;
    for (const s of stats) {
      if (!family.has(s.pid) && family.has(s.parent)) { family.add(s.pid); grew = true; }
    }
  }
  return stats.filter((s) => family.has(s.pid));
}

// The browser's CPU share of one core, in per cent, over the given seconds.
// Counted per process: one that ends in between (a closed page's renderer)
// takes all its time with it and would make a sum of totals fall.
async function cpuShare(browser, seconds) {
  return (await cpuParts(browser, seconds)).total;
}

// Which part of the browser a thread works for, from its process's type and
// its own name: the page's main thread (where its scripts and wasm run),
// compositing the page, playing its sound, polling pads for it, or other.
function threadPart(type, pid, tid, name) {
  if (type === 'renderer' && tid === pid) return 'main';
  if (type === 'renderer' && name === 'Compositor') return 'compositing';
  if (type === 'gpu-process') return 'compositing';
  if (type === 'renderer' && name.startsWith('AudioOutputDev')) return 'sound';
  if (type === 'utility' && name.startsWith('AudioWorker')) return 'sound';
  if (type === 'browser' && name === 'Gamepad polling') return 'pads';
  return 'other';
}

// CPU seconds of every thread of the browser's processes, by thread id.
function threadTimes(browser) {
  const times = new Map();
  for (const p of browserProcesses(browser)) {
    try {
      const type = (fs.readFileSync(`/proc/${p.pid}/cmdline`, 'utf8').match(/--type=([a-z-]+)/) || [, 'browser'])[1];
      for (const tid of fs.readdirSync(`/proc/${p.pid}/task`)) {
        const stat = fs.readFileSync(`/proc/${p.pid}/task/${tid}/stat`, 'utf8');
        const name = stat.slice(stat.indexOf('(') + 1, stat.lastIndexOf(')'));
        const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
        times.set(`${p.pid}/${tid}`, { part: threadPart(type, p.pid, Number(tid), name),
                                       cpu: (Number(fields[11]) + Number(fields[12])) / 100 });
      }
    } catch (gone) {
      // A process or thread that ended while being read counts as other.
    }
  }
  return times;
}

// The browser's CPU share of one core over the given seconds, in total and
// by part (threadPart); what the threads' counts miss (threads that ended in
// between) is other.
async function cpuParts(browser, seconds) {
  const processesBefore = new Map(browserProcesses(browser).map((s) => [s.pid, s.cpu]));
  const threadsBefore = threadTimes(browser);
  const t0 = process.hrtime.bigint();
  await sleep(seconds * 1000);
  const used = browserProcesses(browser).reduce((sum, s) => sum + s.cpu - (processesBefore.get(s.pid) ?? 0), 0);
  const parts = { main: 0, compositing: 0, sound: 0, pads: 0 };
  for (const [id, t] of threadTimes(browser)) {
    if (t.part in parts) parts[t.part] += t.cpu - (threadsBefore.get(id)?.cpu ?? 0);
  }
  const elapsed = Number(process.hrtime.bigint() - t0) / 1e9;
  const share = (cpu) => (100 * cpu) / elapsed;
  const named = Object.values(parts).reduce((a, b) => a + b, 0);
  return { total: share(used), ...Object.fromEntries(Object.entries(parts).map(([k, v]) => [k, share(v)])),
           other: share(used - named) };
}

// Plays test(browser, problems) in a fresh browser, where problems gathers
// what a page reported (console errors, uncaught errors, failed requests),
// and says PASS or FAIL; on a failure the pages still open are shot into the
// screenshot folder, as they were.
async function play(test, shots) {
  const problems = [];
  fs.mkdirSync(shots, { recursive: true });
  try {
    await withBrowser(async (browser) => {
      try {
        await test(browser, problems);
        if (problems.length) fail(`the page reported:\n  ${problems.join('\n  ')}`);
      } catch (error) {
        for (const [index, page] of (await browser.pages()).entries())
          await page.screenshot({ path: path.join(shots, `failed-${index}.png`) }).catch(() => {});
        throw error;
      }
    });
    console.log('no errors in the console');
    console.log('PASS');
  } catch (error) {
    console.error(`FAIL: ${error.message}`);
    for (const problem of problems) console.error(`  the page reported ${problem}`);
    process.exitCode = 1;
  }
}

// Notes what the page reports into problems.
function watchPage(page, problems) {
  page.on('console', (m) => { if (m.type() === 'error') problems.push(`console: ${m.text()}`); });
  page.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
  page.on('requestfailed', (r) => problems.push(`request failed: ${r.url()}`));
}

module.exports = {
  BACKGROUND, TITLE_BORDER, FIGHTER, ORBITER, ARENA, CLOCK, PAUSE_LINE,
  sleep, fail, pixels, colourAt, same, blobs, largest, fighterX, aimSide, waitFor, clockStands, movement,
  loudness, watchForTitle, fightAfterTitle, withBrowser, browserProcesses, cpuShare, cpuParts, play, watchPage,
};
