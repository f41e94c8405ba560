// Pages look for an installed Flash player before they embed a movie: in
// navigator.plugins for "Shockwave Flash" with its version in the
// description, and in navigator.mimeTypes for the movie type with its
// plug-in. The game box plays every movie, so from the document's creation
// both lists hold that plug-in beside the browser's own entries. Nothing
// else is defined: objects of other browsers would send detection scripts
// down paths written for those browsers.
(function () {
  'use strict';
  if (typeof Navigator !== 'function' || typeof Plugin !== 'function')
    return;
  var proto = Navigator.prototype;
  var pluginsGetter = Object.getOwnPropertyDescriptor(proto, 'plugins');
  var typesGetter = Object.getOwnPropertyDescriptor(proto, 'mimeTypes');
  if (!pluginsGetter || !typesGetter || !pluginsGetter.get || !typesGetter.get)
    return;
  var NAME = 'Shockwave Flash';
  var TYPE = 'application/x-shockwave-flash';

  function fixed(target, values) {
    Object.keys(values).forEach(function (key) {
      Object.defineProperty(target, key, {value: values[key], enumerable: true});
    });
    return target;
  }

  var plugin = Object.create(Plugin.prototype);
  var type = Object.create(MimeType.prototype);
  fixed(type, {type: TYPE, suffixes: 'swf', description: 'Shockwave Flash', enabledPlugin: plugin});
  fixed(plugin, {
    name: NAME,
    description: 'Shockwave Flash 32.0 r0',
    // The file name the player gives the plug-in it lists itself: a copy of
    // the player that a page brings takes the page's movies all the same.
    filename: 'ruffle.js',
    version: '32.0.0.0',
    length: 1,
    0: type,
    item: function (i) { return i === 0 ? type : null; },
    namedItem: function (name) { return name === TYPE ? type : null; }
  });
  fixed(plugin, {[TYPE]: type});

  // An array-like list of the browser's entries and the added one, readable
  // by index, by name and through item()/namedItem(), as the real lists.
  function list(prototype, own, added, key) {
    var entries = [];
    for (var i = 0; i < own.length; ++i) {
      if (own[i] && own[i][key] !== added[key])
        entries.push(own[i]);
    }
    entries.push(added);
    var result = Object.create(prototype);
    var values = {length: entries.length};
    entries.forEach(function (entry, index) {
      values[index] = entry;
    });
    fixed(result, values);
    entries.forEach(function (entry) {
      Object.defineProperty(result, entry[key], {value: entry});
    });
    fixed(result, {
      item: function (i) { return entries[i >>> 0] || null; },
      namedItem: function (name) {
        return entries.filter(function (entry) { return entry[key] === name; })[0] || null;
      },
      refresh: function () {}
    });
    Object.defineProperty(result, Symbol.iterator, {value: entries[Symbol.iterator].bind(entries)});
    return result;
  }

  var plugins = null;
  var types = null;
  Object.defineProperty(proto, 'plugins', {
    configurable: true,
    enumerable: true,
    get: function plugins_() {
      if (!plugins)
        plugins = list(PluginArray.prototype, pluginsGetter.get.call(this), plugin, 'name');
      return plugins;
    }
  });
  Object.defineProperty(proto, 'mimeTypes', {
    configurable: true,
    enumerable: true,
    get: function mimeTypes_() {
      if (!types)
        types = list(MimeTypeArray.prototype, typesGetter.get.call(this), type, 'type');
      return types;
    }
  });
})();
