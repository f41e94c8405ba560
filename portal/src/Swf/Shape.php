<?php

declare(strict_types=1);

namespace Zorvia\Portal\Swf;

/**
 * A filled outline with one fill, drawn around its own origin so that
 * placements can turn and scale it about its centre. Coordinates are pixels
 * on input and twips in the encoded form.
 */
final class Shape
{
    /** @var list<array{0:int,1:int,2:list<array<int>>}> start x, start y, edges */
    private array $paths = [];
    private int $minX = PHP_INT_MAX;
    private int $minY = PHP_INT_MAX;
    private int $maxX = PHP_INT_MIN;
    private int $maxY = PHP_INT_MIN;

    /** @param string $fill encoded FILLSTYLE (type byte and its data) */
    private function __construct(private readonly string $fill)
    {
    }

    /** @param array{int,int,int} $rgb */
    public static function solid(array $rgb, int $alpha = 255): self
    {
        return new self("\x00" . chr($rgb[0]) . chr($rgb[1]) . chr($rgb[2]) . chr($alpha));
    }

    /** Fill with a clipped, smoothed bitmap drawn through $m (bitmap pixels to twips). */
    public static function bitmap(int $bitmapId, Matrix $m): self
    {
        return new self("\x41" . pack('v', $bitmapId) . $m->bytes());
    }

    public function rect(float $w, float $h): self
    {
        return $this->polygon([[-$w / 2, -$h / 2], [$w / 2, -$h / 2], [$w / 2, $h / 2], [-$w / 2, $h / 2]]);
    }

    /** Rectangle with its top-left corner at the origin (for backgrounds and bitmaps). */
    public function cornerRect(float $w, float $h): self
    {
        return $this->polygon([[0, 0], [$w, 0], [$w, $h], [0, $h]]);
    }

    /** @param list<array{float,float}> $points clockwise on screen */
    public function polygon(array $points): self
    {
        $pts = array_map(fn ($p) => [self::twips($p[0]), self::twips($p[1])], $points);
        $edges = [];
        $n = count($pts);
        for ($i = 0; $i < $n; ++$i) {
            $a = $pts[$i];
            $b = $pts[($i + 1) % $n];
            $edges[] = [$b[0] - $a[0], $b[1] - $a[1]];
        }
        $this->addPath($pts[0][0], $pts[0][1], $edges, $pts);
        return $this;
    }

    public function star(int $tips, float $outer, float $inner): self
    {
        $points = [];
        for ($i = 0; $i < 2 * $tips; ++$i) {
            $r = $i % 2 === 0 ? $outer : $inner;
            $a = -M_PI / 2 + $i * M_PI / $tips;
            $points[] = [$r * cos($a), $r * sin($a)];
        }
        return $this->polygon($points);
    }

    /** Circle of eight quadratic arcs, centred on ($cx, $cy). */
    public function circle(float $r, float $cx = 0.0, float $cy = 0.0): self
    {
        $step = M_PI / 4;
        $ctrl = $r / cos($step / 2);
        $anchor = fn (float $a, float $rad) => [self::twips($cx + $rad * cos($a)), self::twips($cy + $rad * sin($a))];
        $start = $anchor(0.0, $r);
        $prev = $start;
        $edges = [];
        $touched = [$start];
        for ($i = 1; $i <= 8; ++$i) {
            $c = $anchor(($i - 0.5) * $step, $ctrl);
            $p = $i === 8 ? $start : $anchor($i * $step, $r);
            $edges[] = [$c[0] - $prev[0], $c[1] - $prev[1], $p[0] - $c[0], $p[1] - $c[1]];
            $touched[] = $c;
            $prev = $p;
        }
        $this->addPath($start[0], $start[1], $edges, $touched);
        return $this;
    }

    /** The DefineShape3 tag body for character $id. */
    public function encode(int $id): string
    {
        if ($this->paths === []) {
            throw new \LogicException('a shape needs at least one outline');
        }
        $out = pack('v', $id) . Rect::bytes($this->minX, $this->maxX, $this->minY, $this->maxY);
        $out .= "\x01" . $this->fill . "\x00"; // one fill style, no line styles

        $w = new BitWriter();
        $w->unsigned(4, 1); // fill index bits
        $w->unsigned(4, 0); // line index bits
        foreach ($this->paths as [$x, $y, $edges]) {
            // Style change: move to the start, fill on the right-hand side.
            $w->unsigned(6, 0b000101);
            $n = BitWriter::signedBits($x, $y);
            $w->unsigned(5, $n);
            $w->signed($n, $x);
            $w->signed($n, $y);
            $w->unsigned(1, 1);
            foreach ($edges as $e) {
                $n = max(2, BitWriter::signedBits(...$e));
                if (count($e) === 2) {
                    $w->unsigned(2, 0b11);
                    $w->unsigned(4, $n - 2);
                    $w->unsigned(1, 1); // general line
                } else {
                    $w->unsigned(2, 0b10);
                    $w->unsigned(4, $n - 2);
                }
                foreach ($e as $d) {
                    $w->signed($n, $d);
                }
            }
        }
        $w->unsigned(6, 0); // end of shape
        return $out . $w->bytes();
    }

    /** @param list<array<int>> $edges @param list<array{int,int}> $points */
    private function addPath(int $x, int $y, array $edges, array $points): void
    {
        $this->paths[] = [$x, $y, $edges];
        foreach ($points as [$px, $py]) {
            $this->minX = min($this->minX, $px);
            $this->maxX = max($this->maxX, $px);
            $this->minY = min($this->minY, $py);
            $this->maxY = max($this->maxY, $py);
        }
    }

    private static function twips(float $px): int
    {
        return (int) round($px * 20);
    }
}
