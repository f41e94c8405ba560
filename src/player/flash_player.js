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
  // The player's server, filled in by the game box: from there the player's
  // module arrives as a stream and is compiled while it arrives.
  var SERVED = '';
  var NO_WASM = '无法播放游戏：当前环境不支持 WebAssembly，Flash 播放器无法启动。';
  var BROKEN = '无法播放游戏：游戏文件已损坏或无法读取。';
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
    logLevel: 'error'
  };

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

  function routeFetch() {
    var original = window.fetch;
    window.fetch = function (input) {
      var url = typeof input === 'string' ? input : input && input.url ? input.url : String(input);
      if (url.lastIndexOf(BASE, 0) === 0 || url.lastIndexOf(LOCAL, 0) === 0 ||
          url.lastIndexOf('file:', 0) === 0)
        return viaRequest(url);
      return original.apply(this, arguments);
    };
  }

  // The player takes its other parts from where its script came from.
  function loadFrom(base, otherwise) {
    CONFIG.publicPath = base;
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
      showMessage(element, BROKEN);
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
