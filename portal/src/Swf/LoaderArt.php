<?php

declare(strict_types=1);

namespace Zorvia\Portal\Swf;

/**
 * A movie that brings its game from elsewhere, as Flash-era portals' loaders
 * did: on #303030, it loads the movie named by its parameter "movie" into a
 * clip at ($slotX, $slotY) and the text named by "data" with LoadVars. Its
 * white 40×40 square at (20, 20), above the loaded movie, moves to x 300
 * once the text arrived and to x 100 when that load failed.
 */
final class LoaderArt
{
    private const ON_LOAD = 0x01;

    public static function render(int $w, int $h, int $slotX, int $slotY): string
    {
        $movie = new Movie($w, $h, 24);
        $movie->background([0x30, 0x30, 0x30]);
        $flag = $movie->defineClip($movie->defineShape(Shape::solid([255, 255, 255])->cornerRect(40, 40)));
        $slot = $movie->defineClip($movie->defineShape(Shape::solid([0, 0, 0], 0)->rect(1, 1)));
        $movie->placeClip(1, $slot, Matrix::place($slotX, $slotY), 'slot');
        $landed = (new Actions())->setProperty('/flag', Actions::X, 100)->getVariable('ok')
            ->ifTrue((new Actions())->setProperty('/flag', Actions::X, 300));
        $start = (new Actions())->loadMovieFrom('/:movie', '/slot')->loadVars('lv', '/:data', $landed);
        $movie->placeClip(2, $flag, Matrix::place(20, 20), 'flag', [self::ON_LOAD => $start]);
        $movie->showFrame();
        return $movie->bytes(false);
    }
}
