// Makes svgo indent its output, so a run that honours the configuration is easy to tell apart.
export default {
  js2svg: { pretty: true, indent: 1 },
};
