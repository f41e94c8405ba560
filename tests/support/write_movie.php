<?php

// Writes a test movie with the portal's SWF writer:
//   php write_movie.php tone <hz> <file>
// 320×240 at 24 frames a second on #203040, a white square crossing the
// stage once a second, and a sine tone of <hz> that plays on while the
// movie runs.

declare(strict_types=1);

require dirname(__DIR__, 2) . '/portal/src/bootstrap.php';

use Zorvia\Portal\Swf\Matrix;
use Zorvia\Portal\Swf\Movie;
use Zorvia\Portal\Swf\Shape;

if ($argc !== 4 || $argv[1] !== 'tone' || !is_numeric($argv[2])) {
    fwrite(STDERR, "usage: write_movie.php tone <hz> <file>\n");
    exit(2);
}
$movie = new Movie(320, 240, 24);
$movie->background([0x20, 0x30, 0x40]);
$square = $movie->defineShape(Shape::solid([255, 255, 255])->rect(40, 40));
$tone = $movie->defineTone((float) $argv[2], 1.0);
$movie->startSound($tone, 0xFFFF);
$movie->place(1, $square, Matrix::place(20, 120));
for ($frame = 0; $frame < 24; ++$frame) {
    if ($frame > 0) {
        $movie->move(1, Matrix::place(20 + $frame * 12, 120));
    }
    $movie->showFrame();
}
if (file_put_contents($argv[3], $movie->bytes(false)) === false) {
    exit(1);
}
