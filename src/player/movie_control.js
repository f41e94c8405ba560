// Steers the Flash movies of a page and of its frames that the page may
// reach, run by the game box in the page's own world (the player's elements
// live there). "pause" pauses every playing movie and marks it; "resume"
// plays again the movies that "pause" marked, and no other. "fill" lays the
// first movie over the whole page (the player scales it, its proportions
// kept), "unfill" puts it back. The result is the number of movies found.
(function(command) {
'use strict';
function movies(doc, found) {
    doc.querySelectorAll('ruffle-object,ruffle-embed,ruffle-player')
        .forEach(function(movie) { found.push(movie); });
    doc.querySelectorAll('iframe,frame').forEach(function(frame) {
        try {
            if (frame.contentDocument)
                movies(frame.contentDocument, found);
        } catch (e) {
            // A frame of another origin keeps its movies to itself.
        }
    });
    return found;
}
var found = movies(document, []);
found.forEach(function(movie) {
    try {
        if (command === 'pause' && movie.isPlaying) {
            movie.pause();
            movie.__zorviaPaused = true;
        } else if (command === 'resume' && movie.__zorviaPaused) {
            movie.__zorviaPaused = false;
            movie.play();
        }
    } catch (e) {
        // A movie that has not started yet has nothing to pause.
    }
});
return found.length;
})('@COMMAND@');
