// Mirandel's svgo worker: loads the optimizer module of one svgo installation once and then
// optimizes one file per request, so a run pays Node's and svgo's start-up only once.
//
//   node svgo-worker.mjs PACKAGE_FOLDER [CONFIG_FILE]
//
// Requests arrive on standard input, one JSON object a line:
// {"id", "input", "output", "passes", "without", "precision"}; without "output" the optimized
// document comes back in the answer. With "passes" above 1 svgo runs over its own output again
// while that still shrinks, up to that many times in all. "without" names plugins to leave out
// (a preset's own plugins are switched off in its overrides), "precision" sets the float
// precision every plugin rounds to. Every line on standard output is one JSON object, written by
// send() alone:
//   {"ready":true,"version","plugins"}         the module and the configuration are loaded;
//                                              "plugins" names, in order, the plugins "without"
//                                              can leave out (a preset's own, one by one)
//   {"ready":false,"fallback":true,"error"}    the module cannot be used; run svgo's command line
//   {"ready":false,"error"}                    the configuration cannot be used
//   {"id","ok":true,"ms","rss"[,"bytes"]}      done: written to "output", or handed back as the
//                                              "bytes" bytes (UTF-8) that follow the line end
//                                              as they are, so a document is neither escaped
//                                              here nor parsed as JSON by the reader
//   {"id","ok":false,"error","code","rss"}     svgo's own error text
// The configuration is the given file or svgo's defaults: nothing is looked up in the working
// folder or above it. The worker ends when its standard input closes.

import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import util from 'node:util';

const [packageFolder, configFile] = process.argv.slice(2);

// Standard output carries the answers and nothing else. A configuration or plugin that prints
// (console.log while loading, or for every file) would otherwise put lines there that are not
// answers; what they print goes to standard error instead, before anything of theirs is loaded.
{
  const toStandardError = (...values) => {
    process.stderr.write(util.format(...values) + '\n');
  };
  for (const name of ['log', 'info', 'debug', 'dir', 'table']) console[name] = toStandardError;
  process.stdout.write = (chunk, encoding, callback) => process.stderr.write(chunk, encoding, callback);
}

// Files are done strictly in the order they were asked for, and each answer is written before
// the next file starts, so the oldest unanswered file is the one being worked on. Standard output
// may be non-blocking.
function send(message, data) {
  let bytes = Buffer.from(JSON.stringify(message) + '\n', 'utf8');
  if (data) bytes = Buffer.concat([bytes, data]);
  let offset = 0;
  while (offset < bytes.length) {
    try {
      offset += fs.writeSync(1, bytes, offset);
    } catch (error) {
      if (error.code !== 'EAGAIN') process.exit(1);
    }
  }
}

async function loadModule() {
  const manifest = JSON.parse(fs.readFileSync(path.join(packageFolder, 'package.json'), 'utf8'));
  if (manifest.name !== 'svgo' || Number.parseInt(manifest.version, 10) !== 4)
    throw new Error(`unsupported svgo package ${manifest.name} ${manifest.version}`);
  const entry = manifest.exports?.['.']?.import ?? './lib/svgo-node.js';
  const module = await import(pathToFileURL(path.join(packageFolder, entry)).href);
  if (typeof module.optimize !== 'function' || typeof module.loadConfig !== 'function')
    throw new Error('the svgo module has no optimize() or loadConfig()');
  return { module, version: manifest.version };
}

let svgo;
let config = {};
try {
  const loaded = await loadModule();
  svgo = loaded.module;
  try {
    if (configFile) config = await svgo.loadConfig(path.resolve(configFile));
    // A configuration naming an unknown plugin only fails when something is optimized: try it
    // once on an empty drawing, with plugins of its own made harmless (they may expect files).
    const plugins = Array.isArray(config.plugins)
      ? config.plugins.map((plugin) => (typeof plugin?.fn === 'function' ? { ...plugin, fn: () => ({}) } : plugin))
      : config.plugins;
    svgo.optimize('<svg xmlns="http://www.w3.org/2000/svg"/>', { ...config, plugins, path: 'probe.svg' });
  } catch (error) {
    send({ ready: false, error: String(error) });
    process.exit(0);
  }
  send({ ready: true, version: loaded.version, plugins: pluginNames() });
} catch (error) {
  send({ ready: false, fallback: true, error: String(error) });
  process.exit(0);
}

// svgo's defaults are its default preset.
function configuredPlugins() {
  return Array.isArray(config.plugins) ? config.plugins : ['preset-default'];
}

function nameOf(entry) {
  return typeof entry === 'string' ? entry : entry?.name;
}

// The preset an entry stands for, with the plugins its overrides have not switched off already.
function presetOf(entry) {
  const preset = svgo.builtinPlugins?.find((plugin) => plugin.name === nameOf(entry) && plugin.isPreset);
  if (!preset) return null;
  const overrides = (typeof entry === 'string' ? undefined : entry.params?.overrides) ?? {};
  return { overrides, plugins: preset.plugins.map((plugin) => plugin.name).filter((name) => overrides[name] !== false) };
}

function pluginNames() {
  return configuredPlugins().flatMap((entry) => presetOf(entry)?.plugins ?? [nameOf(entry)]).filter((name) => typeof name === 'string');
}

// The configuration with the request's changes; the loaded one itself when it has none.
function configFor(request) {
  const without = new Set(Array.isArray(request.without) ? request.without : []);
  if (without.size === 0 && typeof request.precision !== 'number') return config;
  const plugins = configuredPlugins().flatMap((entry) => {
    const preset = presetOf(entry);
    if (!preset) return without.has(nameOf(entry)) ? [] : [entry];
    const overrides = { ...preset.overrides };
    for (const name of preset.plugins) if (without.has(name)) overrides[name] = false;
    const base = typeof entry === 'string' ? { name: entry } : entry;
    return [{ ...base, params: { ...base.params, overrides } }];
  });
  const changed = { ...config, plugins };
  if (typeof request.precision === 'number') changed.floatPrecision = request.precision;
  return changed;
}

// Each file is read when its turn comes, at once: an asynchronous read of a small file costs ten
// times the processor time of a synchronous one (open, stat, read and close each a trip through
// the thread pool), more than its overlap with the optimizing saves; the other workers keep the
// processors busy meanwhile.
const waiting = [];
let pumping = false;
let inputClosed = false;

function fail(id, error) {
  send({ id, ok: false, error: String(error), code: error?.code ?? '', rss: process.memoryUsage.rss() });
}

function finishIfDone() {
  if (inputClosed && !pumping && waiting.length === 0) process.exit(0);
}

function pump() {
  if (pumping) return;
  pumping = true;
  while (waiting.length > 0) {
    const request = waiting.shift();
    let text;
    try {
      text = fs.readFileSync(request.input, 'utf8');
    } catch (error) {
      fail(request.id, error);
      continue;
    }
    const started = performance.now();
    let result;
    let used;
    try {
      used = configFor(request);
      result = svgo.optimize(text, { ...used, path: request.input });
    } catch (error) {
      fail(request.id, error);
      continue;
    }
    // Each further pass starts only from an output smaller than what its pass was given, so a
    // file that is already such a fixed point costs one pass. A later pass that fails (a
    // configuration whose output is no SVG, say) keeps the last one.
    try {
      let given = Buffer.byteLength(text);
      for (let pass = 1; pass < (request.passes ?? 1); ++pass) {
        const size = Buffer.byteLength(result.data);
        if (size >= given) break;
        const again = svgo.optimize(result.data, { ...used, path: request.input });
        if (Buffer.byteLength(again.data) >= size) break;
        given = size;
        result = again;
      }
    } catch {}
    const ms = performance.now() - started;
    if (typeof request.output !== 'string') {
      const data = Buffer.from(result.data, 'utf8');
      send({ id: request.id, ok: true, ms, rss: process.memoryUsage.rss(), bytes: data.length }, data);
      continue;
    }
    // Written at once: a small write costs less than the trips through the event loop an
    // asynchronous one takes, and the file is answered before the next one can hold things up.
    try {
      fs.writeFileSync(request.output, result.data, 'utf8');
    } catch (error) {
      fail(request.id, error);
      continue;
    }
    send({ id: request.id, ok: true, ms, rss: process.memoryUsage.rss() });
  }
  pumping = false;
  finishIfDone();
}

let pending = '';
process.stdin.setEncoding('utf8');
process.stdin.on('data', (chunk) => {
  pending += chunk;
  let end;
  while ((end = pending.indexOf('\n')) >= 0) {
    const line = pending.slice(0, end);
    pending = pending.slice(end + 1);
    if (line.trim() === '') continue;
    waiting.push(JSON.parse(line));
  }
  pump();
});
process.stdin.on('end', () => {
  inputClosed = true;
  finishIfDone();
});
