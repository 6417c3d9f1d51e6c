// Applies an svgo configuration's plugins one at a time, each on the previous one's output, so
// that the program can tell what every plugin saved and which one changed the drawing.
//
//   node svgo-plugin-steps.mjs PACKAGE_FOLDER INPUT_FILE [CONFIG_FILE]
//
// A preset (preset-default) is opened up into its own plugins in its order, with the ones its
// overrides switch off left out and its floatPrecision and per-plugin overrides handed to each;
// other entries run as they are. Top-level options (floatPrecision, js2svg) reach every step as
// svgo hands them on; each step runs once. Standard output carries one JSON object and nothing
// else:
//   {"version", "input": document, "original": bytes,
//    "steps": [{"plugin", "bytes"[, "document"]}, ...]}
// The first step, named "", is svgo reading and writing the document with no plugin. "bytes" is
// the UTF-8 size after the step; "document" is left out when the step changed nothing. On
// failure: {"error"[, "fallback": true]} and exit status 1 ("fallback" when svgo's module itself
// cannot be used). The configuration is the given file or svgo's defaults: nothing is looked up
// in the working folder or above it.

import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import util from 'node:util';

const [packageFolder, inputFile, configFile] = process.argv.slice(2);

// What a configuration or plugin prints goes to standard error, so the answer stays whole.
const writeOut = process.stdout.write.bind(process.stdout);
{
  const toStandardError = (...values) => {
    process.stderr.write(util.format(...values) + '\n');
  };
  for (const name of ['log', 'info', 'debug', 'dir', 'table']) console[name] = toStandardError;
  process.stdout.write = (chunk, encoding, callback) => process.stderr.write(chunk, encoding, callback);
}

function answer(message, status) {
  // A pipe may take a large answer in pieces; exit only once all of it is written.
  writeOut(JSON.stringify(message) + '\n', () => process.exit(status));
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

function nameOf(entry) {
  return typeof entry === 'string' ? entry : entry?.name;
}

// One configuration entry as the steps it stands for: [{name, plugin, ownPrecision}], where
// ownPrecision tells that the step carries the precision itself (a preset's plugins get theirs
// from the preset, never again from the top level).
function stepsOf(svgo, entry, topPrecision) {
  const preset = svgo.builtinPlugins?.find((plugin) => plugin.name === nameOf(entry) && plugin.isPreset);
  if (!preset) return [{ name: nameOf(entry), plugin: entry, ownPrecision: false }];
  const params = (typeof entry === 'string' ? undefined : entry.params) ?? {};
  const overrides = params.overrides ?? {};
  // svgo lets the top-level precision win over the preset's own.
  const precision = topPrecision ?? params.floatPrecision;
  return preset.plugins
    .filter((plugin) => overrides[plugin.name] !== false)
    .map((plugin) => {
      const own = { ...(precision != null ? { floatPrecision: precision } : {}), ...overrides[plugin.name] };
      return { name: plugin.name, plugin: { name: plugin.name, params: own, fn: plugin.fn }, ownPrecision: true };
    });
}

async function main() {
  let svgo;
  let version;
  try {
    ({ module: svgo, version } = await loadModule());
  } catch (error) {
    return answer({ error: String(error), fallback: true }, 1);
  }
  try {
    let config = {};
    if (configFile) config = (await svgo.loadConfig(path.resolve(configFile))) ?? {};
    const entries = Array.isArray(config.plugins) ? config.plugins : ['preset-default'];
    // Each step's output is the next one's input, so it stays a document, never a data URI.
    const { datauri, multipass, plugins, ...shared } = config;
    const steps = entries
      .filter((entry) => entry != null)
      .flatMap((entry) => stepsOf(svgo, entry, config.floatPrecision));
    // The document read here is handed back, so the caller compares drawings with exactly it.
    const input = fs.readFileSync(inputFile, 'utf8');
    let current = input;
    const original = Buffer.byteLength(current);
    const results = [];
    // svgo's own reading and writing (whitespace, quotes, entities) comes first under an empty
    // name, so the first plugin is not credited with what any run of svgo does.
    steps.unshift({ name: '', plugin: null, ownPrecision: false });
    for (const step of steps) {
      const options = { ...shared, plugins: step.plugin ? [step.plugin] : [], multipass: false };
      if (step.ownPrecision) delete options.floatPrecision;
      options.path = inputFile;
      let output;
      try {
        output = svgo.optimize(current, options).data;
      } catch (error) {
        throw new Error(`${step.name}: ${error?.message ?? error}`);
      }
      const result = { plugin: String(step.name), bytes: Buffer.byteLength(output) };
      if (output !== current) result.document = output;
      results.push(result);
      current = output;
    }
    answer({ version, input, original, steps: results }, 0);
  } catch (error) {
    answer({ error: String(error?.message ?? error) }, 1);
  }
}

await main();
