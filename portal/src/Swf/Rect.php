<?php

declare(strict_types=1);

namespace Zorvia\Portal\Swf;

/** The bit-packed rectangle of the movie format (values in twips). */
final class Rect
{
    public static function bytes(int $xMin, int $xMax, int $yMin, int $yMax): string
    {
        $w = new BitWriter();
        $n = BitWriter::signedBits($xMin, $xMax, $yMin, $yMax);
        $w->unsigned(5, $n);
        foreach ([$xMin, $xMax, $yMin, $yMax] as $v) {
            $w->signed($n, $v);
        }
        return $w->bytes();
    }
}
