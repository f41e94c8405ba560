// Runs in every page and frame apart from the page's own scripts. Whether a
// Flash movie of this frame has the keyboard focus is reported to the game
// box with every change, as a console message marked with the game box's
// token: while one has, the game box lets Enter and the arrow keys through
// to the page. The movie gets them, and the page does not scroll, submit or
// click with them.
(function() {
'use strict';
var TOKEN = '@TOKEN@';
var KEYS = {Enter : true, ArrowLeft : true, ArrowUp : true, ArrowRight : true, ArrowDown : true};
var frame = Math.random().toString(36).slice(2);
var reported = false;

// A movie is a player element that the player has made: an element of the
// player's names that its script defined and gave its shadow tree. A page's
// own element of the same name is not.
function isMovie(element) {
    return !!element && /^RUFFLE-(EMBED|OBJECT|PLAYER)$/.test(element.tagName) &&
           element.matches(':defined') && !!element.shadowRoot;
}

function send(focused) {
    if (focused === reported)
        return;
    reported = focused;
    console.debug(TOKEN + (focused ? ' 1 ' : ' 0 ') + frame);
}

// Focus events fire before the active element settles; look once they
// have run.
function look() {
    Promise.resolve().then(
        function() { send(document.hasFocus() && isMovie(document.activeElement)); });
}

['focusin', 'focusout', 'focus', 'blur'].forEach(function(
    type) { window.addEventListener(type, look, true); });
window.addEventListener('pagehide', function() { send(false); }, true);

function guard(event) {
    if (KEYS[event.key] && isMovie(event.target))
        event.preventDefault();
}
window.addEventListener('keydown', guard, true);
window.addEventListener('keypress', guard, true);
})();
