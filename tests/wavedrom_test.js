// Renders what the desktop's Save as WaveDrom writes with WaveDrom's own
// renderer (wavedrom-cli, under Node) and checks the picture: one period per
// step, and in each data lane the values the CSV holds where they change.
//   node wavedrom_test.js NODE_MODULES_DIR TIMING_EXPORT
'use strict';

const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');

const [modules, tool] = process.argv.slice(2);
const cli = path.join(modules, '.bin', 'wavedrom-cli');
const env = { ...process.env, QT_QPA_PLATFORM: 'offscreen', XDG_CONFIG_HOME: fs.mkdtempSync(path.join(os.tmpdir(), 'wd-')) };

// A write cycle held at address 5 while the address walks back to 0, then a
// read: the walk the lesson uses.
const WALK = ['sigUB=0', 'sigLB=0', 'sigData(3)=1', 'sigData(12)=1', 'sigWE=0', 'sigCE=0', 'sigAddr(0)=1',
  'sigAddr(2)=1', 'sigAddr(0)=0', 'sigAddr(2)=0', 'sigWE=1', 'sigOE=0'];

const CASES = [
  { name: 'steps in view', args: ['579', '246'] },
  { name: 'all kept steps', args: ['579', '246', '--all'] },
  { name: 'steps in view, narrow', args: ['300', '246'] },
];

function exported(format, args) {
  return execFileSync(tool, [format, ...args, ...WALK], { env, encoding: 'utf8', timeout: 60000 });
}

// The values of one CSV column at the first step and wherever they change.
function changes(rows, column) {
  const out = [];
  rows.forEach((r, i) => { if (i === 0 || r[column] !== rows[i - 1][column]) out.push(r[column]); });
  return out;
}

let failures = 0;
for (const c of CASES) {
  try {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'wavedrom-'));
    const json = path.join(dir, 'timing.json'), svg = path.join(dir, 'timing.svg');
    fs.writeFileSync(json, exported('wavejson', c.args));
    execFileSync(cli, ['-i', json, '-s', svg], { timeout: 60000 });
    const picture = fs.readFileSync(svg, 'utf8');

    // The steps the file took: the last ones of the CSV.
    const csv = exported('csv', c.args).trim().split('\n');
    const header = csv[0].split(',');
    const all = csv.slice(1).map((l) => l.split(','));
    const steps = JSON.parse(fs.readFileSync(json, 'utf8')).signal[0].wave.length;
    const rows = all.slice(all.length - steps);
    if (c.args.includes('--all')) assert.equal(steps, all.length, 'every kept step');

    // One period per step: WaveDrom marks each period's edges.
    const marks = picture.match(/id="gmark_\d+_0"/g) || [];
    assert.equal(marks.length, steps + 1, 'period marks');

    // Each data lane's texts, in order, are the column's values at changes.
    const lanes = {};
    for (const m of picture.matchAll(/id="wavelane_draw_(\d+)_0">(.*?)<\/g>/g)) {
      lanes[Number(m[1])] = [...m[2].matchAll(/<tspan>([^<]*)<\/tspan>/g)].map((t) => t[1]);
    }
    ['A', 'D', 'Q'].forEach((name, k) => {
      assert.deepEqual(lanes[5 + k], changes(rows, header.indexOf(name)), 'lane ' + name);
    });
    const cycles = rows.filter((r) => r[header.indexOf('cycle')] !== 'none')
      .map((r) => (r[header.indexOf('cycle')] === 'read' ? 'R ' : 'W ') + r[header.indexOf('bytes')]);
    assert.deepEqual(lanes[8], cycles, 'cycle row');
    // The five controls carry their over-bars.
    assert.ok(picture.includes('C\u0305E\u0305'), 'CE with its bar');
    console.log('ok - ' + c.name + ': ' + steps + ' steps');
  } catch (e) {
    ++failures;
    console.log('not ok - ' + c.name + ': ' + e.message);
  }
}
process.exit(failures ? 1 : 0);
