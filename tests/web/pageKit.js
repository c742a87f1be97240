// What the page's checks and measurements share: Debian's Chromium started
// headless with a fresh profile, and the CPU time of all its processes.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');

// Runs use(browser) in a fresh headless Chromium and closes it afterwards.
async function withBrowser(use, extraArgs = []) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'brox-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    userDataDir: profile,
    args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--no-first-run', ...extraArgs],
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

// CPU seconds of the browser and all its processes.
const browserCpuSeconds = (browser) => browserProcesses(browser).reduce((sum, s) => sum + s.cpu, 0);

// The browser's CPU share of one core, in per cent, over the given seconds.
async function cpuShare(browser, seconds) {
  const cpu0 = browserCpuSeconds(browser);
  const t0 = process.hrtime.bigint();
  await sleep(seconds * 1000);
  const cpu1 = browserCpuSeconds(browser);
  const elapsed = Number(process.hrtime.bigint() - t0) / 1e9;
  return (100 * (cpu1 - cpu0)) / elapsed;
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

module.exports = { withBrowser, browserProcesses, browserCpuSeconds, cpuShare, sleep };
