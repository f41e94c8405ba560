// The game box's Flash player for every page and frame. Once the document
// holds Flash content (an <embed> or <object> of a movie, also one added by
// a script later), the player shipped with the game box is loaded from the
// game box's server on 127.0.0.1, or from its own scheme where the page may
// not reach that server, unless the page brings a player of its own. Where
// the player cannot start, a message takes the movie's place.
(function () {
  'use strict';
  if (window.__zorviaFlash)
    return;
  window.__zorviaFlash = true;

  var BASE = 'zorvia-player://player/';
  var LOCAL = 'zorvia-movie:';
  // The game box's loads for the player from other hosts, and their key,
  // filled in by the game box. The key never leaves this script: the
  // requests that carry it go through the request object's own functions,
  // taken before any of the page's scripts could replace them.
  var NETWORK = 'zorvia-net://load/';
  var NETWORK_KEY = '';
  var apply = Reflect.apply;
  var Xhr = XMLHttpRequest;
  var xhrOpen = Xhr.prototype.open;
  var xhrSend = Xhr.prototype.send;
  var listen = EventTarget.prototype.addEventListener;
  var xhrMember = function (name) {
    var descriptor = Object.getOwnPropertyDescriptor(Xhr.prototype, name);
    return descriptor && (descriptor.get || descriptor.set) ? descriptor : {};
  };
  var setResponseType = xhrMember('responseType').set;
  var getStatus = xhrMember('status').get;
  var getResponse = xhrMember('response').get;
  var getResponseHeader = Xhr.prototype.getResponseHeader;
  // The player's server, filled in by the game box: from there the player's
  // module arrives as a stream and is compiled while it arrives.
  var SERVED = '';
  var NO_WASM = '无法播放游戏：当前环境不支持 WebAssembly，Flash 播放器无法启动。';
  var BROKEN = '无法播放游戏：游戏文件已损坏或无法读取。';
  var UNFETCHED = '无法播放游戏：无法从游戏文件所在的服务器获取游戏文件。';
  var MISSING = '无法播放游戏：游戏盒子的 Flash 播放器缺失，请重新安装游戏盒子。';
  var FLASH_TYPE = 'application/x-shockwave-flash';
  var CONFIG = {
    autoplay: 'on',
    unmuteOverlay: 'hidden',
    splashScreen: false,
    letterbox: 'on',
    // The right button belongs to the game box: no menu of the player's own.
    contextMenu: 'off',
    showSwfDownload: false,
    warnOnUnsupportedContent: false,
    // Pages see a Flash player installed (flash_detection.js): the player
    // takes their movies all the same.
    favorFlash: false,
    logLevel: 'error'
  };

  // A local movie reaches the network, never the page it plays in: no
  // javascript: address or call into the page runs for it.
  if (location.protocol === LOCAL)
    CONFIG.allowScriptAccess = false;

  var state = 'idle'; // idle, loading, failed
  var failure = '';

  function isMovie(value) {
    return /\.swf([?#].*)?$/i.test(value || '');
  }

  function isFlash(element) {
    var tag = element.tagName;
    if (tag !== 'EMBED' && tag !== 'OBJECT')
      return false;
    if ((element.getAttribute('type') || '').toLowerCase() === FLASH_TYPE)
      return true;
    if (tag === 'EMBED')
      return isMovie(element.getAttribute('src'));
    if (isMovie(element.getAttribute('data')))
      return true;
    var params = element.getElementsByTagName('param');
    for (var i = 0; i < params.length; ++i) {
      var name = (params[i].getAttribute('name') || '').toLowerCase();
      if ((name === 'movie' || name === 'src') && isMovie(params[i].getAttribute('value')))
        return true;
    }
    return false;
  }

  // The Flash elements in root (itself included), outermost ones only: an
  // <embed> inside an <object> of the same movie is its fallback.
  function flashIn(root) {
    var found = [];
    var candidates = root.matches && root.matches('embed,object') ? [root] : [];
    if (root.querySelectorAll)
      candidates = candidates.concat(Array.prototype.slice.call(root.querySelectorAll('embed,object')));
    candidates.forEach(function (element) {
      var outer = element.parentElement && element.parentElement.closest('object');
      if (isFlash(element) && !(outer && isFlash(outer)))
        found.push(element);
    });
    return found;
  }

  function pageHasPlayer() {
    if (window.RufflePlayer && !window.RufflePlayer.zorvia)
      return true;
    for (var i = 0; i < document.scripts.length; ++i) {
      if (/ruffle/i.test(document.scripts[i].src || ''))
        return true;
    }
    return false;
  }

  function extent(element, rect, axis) {
    var measured = axis === 'width' ? rect.width : rect.height;
    if (measured > 0)
      return measured + 'px';
    var given = element.getAttribute(axis) || '';
    if (/^\d+$/.test(given))
      return given + 'px';
    return /^\d+%$/.test(given) ? given : axis === 'width' ? '400px' : '300px';
  }

  function showMessage(element, text) {
    if (!element.parentNode)
      return;
    var rect = element.getBoundingClientRect();
    var box = document.createElement('div');
    box.className = 'zorvia-flash-message';
    box.setAttribute('role', 'alert');
    box.textContent = text;
    box.style.cssText =
        'display:flex;align-items:center;justify-content:center;box-sizing:border-box;' +
        'padding:16px;background:#fff3e0;color:#b3261e;border:1px solid #e0a060;' +
        'font:14px/1.6 sans-serif;text-align:center;width:' + extent(element, rect, 'width') +
        ';height:' + extent(element, rect, 'height');
    element.replaceWith(box);
  }

  function fail(text) {
    state = 'failed';
    failure = text;
    flashIn(document.documentElement).forEach(function (element) {
      showMessage(element, text);
    });
  }

  // The web engine refuses fetch() for custom schemes and file addresses;
  // the player fetches its WebAssembly module and local movies, so those go
  // through a request that it allows.
  function viaRequest(url) {
    return new Promise(function (resolve, reject) {
      var request = new XMLHttpRequest();
      request.open('GET', url);
      request.responseType = 'arraybuffer';
      request.onload = function () {
        if (request.status !== 0 && request.status !== 200) {
          reject(new TypeError('Failed to fetch ' + url + ': ' + request.status));
          return;
        }
        var type = /\.wasm$/i.test(url) ? 'application/wasm' : 'application/octet-stream';
        var response = new Response(request.response, {status: 200, headers: {'Content-Type': type}});
        Object.defineProperty(response, 'url', {value: url});
        resolve(response);
      };
      request.onerror = function () {
        reject(new TypeError('Failed to fetch ' + url));
      };
      request.send();
    });
  }

  // Addresses whose last fetch failed: no connection, or a status other
  // than success. A movie that fails to start names its failure by it.
  var unfetched = {};

  function noted(url, promise) {
    return promise.then(function (response) {
      if (response.ok)
        delete unfetched[url];
      else
        unfetched[url] = true;
      return response;
    }, function (error) {
      unfetched[url] = true;
      throw error;
    });
  }

  // A movie or its data on another host than the page's: the game box
  // fetches it through its network scheme, which answers as a Flash player
  // would (movies from any host, data where the host's policy file allows
  // the movie's host).
  function privately(address, url) {
    return new Promise(function (resolve, reject) {
      var request = new Xhr();
      apply(xhrOpen, request, ['GET', address + '&key=' + NETWORK_KEY]);
      apply(setResponseType, request, ['arraybuffer']);
      apply(listen, request, ['load', function () {
        var status = apply(getStatus, request, []);
        if (status !== 0 && status !== 200) {
          reject(new TypeError('Failed to fetch ' + url));
          return;
        }
        var type = apply(getResponseHeader, request, ['Content-Type']) || 'application/octet-stream';
        var response = new Response(apply(getResponse, request, []),
                                    {status: 200, headers: {'Content-Type': type}});
        Object.defineProperty(response, 'url', {value: url});
        resolve(response);
      }]);
      apply(listen, request, ['error', function () {
        reject(new TypeError('Failed to fetch ' + url));
      }]);
      apply(xhrSend, request, []);
    });
  }

  function viaNetwork(input, url) {
    var request = new Request(input);
    var kind = /\.swf$/i.test(new URL(url).pathname) ? 'movie' : 'data';
    var address = NETWORK + '?kind=' + kind + '&url=' + encodeURIComponent(url);
    if (request.method === 'GET' || request.method === 'HEAD')
      return privately(address, url);
    return request.arrayBuffer().then(function (body) {
      var bytes = new Uint8Array(body), text = '';
      for (var i = 0; i < bytes.length; ++i)
        text += String.fromCharCode(bytes[i]);
      return privately(address + '&method=' + encodeURIComponent(request.method) + '&type=' +
                            encodeURIComponent(request.headers.get('Content-Type') || '') +
                            '&body=' + encodeURIComponent(btoa(text)),
                        url);
    });
  }

  // Only the player's own requests take that way: the call must come from
  // the player's module, through the player's script that the game box
  // serves. The engine's record of the calls says so; the page's scripts
  // cannot change it once captured here, before any of them ran. Where the
  // record cannot be read, the request keeps the browser's rules.
  var captureStack = Error.captureStackTrace;
  var playerBase = ''; // where the player's script came from; the page's copy may change

  function fromPlayer(called) {
    if (typeof captureStack !== 'function' || !playerBase)
      return false;
    var seen = null;
    var holder = {};
    var prepare = Error.prepareStackTrace;
    var limit = Error.stackTraceLimit;
    try {
      Error.prepareStackTrace = function (error, sites) {
        seen = sites;
        return sites;
      };
      Error.stackTraceLimit = 2;
      captureStack(holder, called);
      var sites = holder.stack;
      if (!seen || sites !== seen || seen.length < 2)
        return false;
      var script = String(seen[0].getFileName() || '');
      var below = String(seen[1].getFileName() || '');
      return script.lastIndexOf(playerBase, 0) === 0 && below.lastIndexOf('wasm://', 0) === 0;
    } catch (e) {
      return false;
    } finally {
      try {
        Error.prepareStackTrace = prepare;
        Error.stackTraceLimit = limit;
      } catch (e) {
      }
    }
  }

  function elsewhere(url) {
    if (!/^https?:$/.test(location.protocol))
      return false;
    try {
      var target = new URL(url, document.baseURI);
      return /^https?:$/.test(target.protocol) && target.origin !== location.origin;
    } catch (e) {
      return false;
    }
  }

  function routeFetch() {
    var original = window.fetch;
    window.fetch = function routed(input) {
      var url = typeof input === 'string' ? input : input && input.url ? input.url : String(input);
      if (url.lastIndexOf(BASE, 0) === 0 || url.lastIndexOf(LOCAL, 0) === 0 ||
          url.lastIndexOf('file:', 0) === 0)
        return viaRequest(url);
      var absolute = url;
      try {
        absolute = new URL(url, document.baseURI).href;
      } catch (e) {
      }
      if (elsewhere(absolute) && fromPlayer(routed))
        return noted(absolute, viaNetwork(input, absolute));
      return noted(absolute, original.apply(this, arguments));
    };
  }

  // The message for a movie that did not start: its file did not arrive,
  // or what arrived is no movie.
  function failureOf(element) {
    var names = [element.getAttribute('src'), element.getAttribute('data')];
    element.querySelectorAll('param').forEach(function (param) {
      if (/^(movie|src)$/i.test(param.getAttribute('name') || ''))
        names.push(param.getAttribute('value'));
    });
    var failed = names.some(function (name) {
      try {
        return name && unfetched[new URL(name, document.baseURI).href];
      } catch (e) {
        return false;
      }
    });
    return failed ? UNFETCHED : BROKEN;
  }

  // The player takes its other parts from where its script came from.
  function loadFrom(base, otherwise) {
    CONFIG.publicPath = base;
    playerBase = base;
    window.RufflePlayer = {zorvia: true, config: CONFIG};
    var script = document.createElement('script');
    script.onerror = function () {
      script.remove();
      otherwise();
    };
    script.src = base + 'ruffle.js';
    (document.head || document.documentElement).appendChild(script);
  }

  function load() {
    if (typeof WebAssembly !== 'object') {
      fail(NO_WASM);
      return;
    }
    state = 'loading';
    routeFetch();
    var fromScheme = function () {
      loadFrom(BASE, function () {
        fail(MISSING);
      });
    };
    if (SERVED)
      loadFrom(SERVED, fromScheme);
    else
      fromScheme();
  }

  // A player element that gives up shows its failure report in its shadow
  // tree; the message replaces the whole element.
  // The first movie of a page takes the keyboard focus unless something else
  // of the page holds it: a game plays without a click first. A click into
  // a movie gives it the focus as well.
  var focusGiven = false;

  function focusTarget(element) {
    return element.shadowRoot && element.shadowRoot.querySelector('[tabindex]');
  }

  // The player makes its stage focusable once it has started.
  function whenFocusable(element, then) {
    if (focusTarget(element)) {
      then(focusTarget(element));
      return;
    }
    var observer = new MutationObserver(function () {
      var target = focusTarget(element);
      if (target) {
        observer.disconnect();
        then(target);
      }
    });
    observer.observe(element.shadowRoot, {attributes: true, attributeFilter: ['tabindex'], subtree: true, childList: true});
  }

  function giveFocus(element) {
    if (focusGiven || window.top !== window)
      return;
    focusGiven = true;
    whenFocusable(element, function (target) {
      var active = document.activeElement;
      if (!active || active === document.body || active === document.documentElement)
        target.focus({preventScroll: true});
    });
  }

  function watchPlayer(element) {
    if (element.__zorviaWatched || !element.shadowRoot)
      return;
    element.__zorviaWatched = true;
    giveFocus(element);
    element.addEventListener('pointerdown', function () {
      var target = focusTarget(element);
      if (target && element.shadowRoot.activeElement !== target)
        target.focus({preventScroll: true});
    });
    var observer = new MutationObserver(check);
    function check() {
      if (!element.shadowRoot.querySelector('#panic'))
        return false;
      observer.disconnect();
      showMessage(element, failureOf(element));
      return true;
    }
    if (!check())
      observer.observe(element.shadowRoot, {childList: true, subtree: true});
  }

  function watchPlayersIn(root) {
    if (/^RUFFLE-/.test(root.tagName || ''))
      watchPlayer(root);
    if (root.querySelectorAll)
      root.querySelectorAll('ruffle-embed,ruffle-object,ruffle-player').forEach(watchPlayer);
  }

  function added(root) {
    if (state === 'failed') {
      flashIn(root).forEach(function (element) {
        showMessage(element, failure);
      });
      return;
    }
    if (state === 'idle' && flashIn(root).length > 0 && !pageHasPlayer())
      load();
    watchPlayersIn(root);
  }

  function start() {
    added(document.documentElement);
    new MutationObserver(function (records) {
      records.forEach(function (record) {
        record.addedNodes.forEach(function (node) {
          if (node.nodeType === Node.ELEMENT_NODE)
            added(node);
        });
      });
    }).observe(document.documentElement, {childList: true, subtree: true});
  }

  if (document.readyState === 'loading')
    document.addEventListener('DOMContentLoaded', start);
  else
    start();
})();
