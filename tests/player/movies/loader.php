<?php

declare(strict_types=1);

// Writes loader.swf: a 550×400 movie on #303030 that, once it starts,
// loads the movie named by its parameter "movie" into a clip at (200, 100)
// and the data named by "data" with LoadVars; its white 40×40 square at
// (20, 20) moves to x 300 when the data arrived and to x 100 when the load
// failed. Run: php loader.php <portal folder> <output file>

require $argv[1] . '/src/bootstrap.php';

use Zorvia\Portal\Swf\Actions;
use Zorvia\Portal\Swf\Matrix;
use Zorvia\Portal\Swf\Movie;
use Zorvia\Portal\Swf\Shape;

const ON_LOAD = 0x01;

$movie = new Movie(550, 400, 24);
$movie->background([0x30, 0x30, 0x30]);
$flag = $movie->defineClip($movie->defineShape(Shape::solid([255, 255, 255])->cornerRect(40, 40)));
$slot = $movie->defineClip($movie->defineShape(Shape::solid([0, 0, 0], 0)->rect(1, 1)));
$movie->placeClip(2, $slot, Matrix::place(200, 100), 'slot');
$landed = (new Actions())->setProperty('/flag', Actions::X, 100)->getVariable('ok')
    ->ifTrue((new Actions())->setProperty('/flag', Actions::X, 300));
$start = (new Actions())->loadMovieFrom('/:movie', '/slot')->loadVars('lv', '/:data', $landed);
$movie->placeClip(1, $flag, Matrix::place(20, 20), 'flag', [ON_LOAD => $start]);
$movie->showFrame();
file_put_contents($argv[2], $movie->bytes(false));
