<?php

declare(strict_types=1);

namespace Zorvia\Portal\Swf;

/**
 * Draws a small looping animation for a game of the catalogue: its style
 * picks the motif, its colours and stage size the look. The same game always
 * gives the same bytes.
 */
final class GameArt
{
    public const STYLES = ['bounce', 'spin', 'orbit', 'pulse', 'bars', 'race', 'grid', 'starfield', 'steer'];

    /** Clip event flags of a placed movie clip. */
    private const ON_ENTER_FRAME = 0x02;
    private const ON_MOUSE_DOWN = 0x10;
    private const ON_KEY_DOWN = 0x40;

    /** Key codes of the movie's keyboard. */
    private const KEY_ENTER = 13;
    private const KEY_SPACE = 32;
    private const STEER_KEYS = [[37, Actions::X, -6], [39, Actions::X, 6], [38, Actions::Y, -6], [40, Actions::Y, 6]];

    /**
     * @param array{style:string,width:int,height:int,fps:int,frames:int,color1:string,color2:string,bg:string,compressed:int|bool} $game
     */
    public static function render(array $game): string
    {
        $style = $game['style'];
        if (!in_array($style, self::STYLES, true)) {
            throw new \InvalidArgumentException("unknown art style '$style'");
        }
        $w = (int) $game['width'];
        $h = (int) $game['height'];
        $frames = max(1, (int) $game['frames']);
        $movie = new Movie($w, $h, (int) $game['fps']);
        $movie->background(self::rgb($game['bg']));
        $art = new self($movie, $w, $h, $frames, self::rgb($game['color1']), self::rgb($game['color2']), self::rgb($game['bg']));
        $art->$style();
        return $movie->bytes((bool) $game['compressed']);
    }

    /** @return array{int,int,int} */
    public static function rgb(string $hex): array
    {
        if (!preg_match('/^#([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})$/i', $hex, $m)) {
            throw new \InvalidArgumentException("bad colour '$hex'");
        }
        return [hexdec($m[1]), hexdec($m[2]), hexdec($m[3])];
    }

    /**
     * @param array{int,int,int} $c1
     * @param array{int,int,int} $c2
     * @param array{int,int,int} $bg
     */
    private function __construct(
        private readonly Movie $movie,
        private readonly int $w,
        private readonly int $h,
        private readonly int $frames,
        private readonly array $c1,
        private readonly array $c2,
        private readonly array $bg,
    ) {
    }

    private function bounce(): void
    {
        $floor = $this->movie->defineShape(Shape::solid($this->c2)->cornerRect($this->w, $this->h / 6));
        $r = $this->h / 10;
        $ball = $this->movie->defineShape(Shape::solid($this->c1)->circle($r));
        $shadow = $this->movie->defineShape(Shape::solid([0, 0, 0], 70)->circle($r));
        $groundY = $this->h * 5 / 6;
        $this->movie->place(1, $floor, Matrix::place(0, $groundY));
        $this->animate([2 => $shadow, 3 => $ball], function (float $t) use ($r, $groundY) {
            $x = $r + ($this->w - 2 * $r) * (0.5 - 0.5 * cos(2 * M_PI * $t));
            $hop = abs(sin(4 * M_PI * $t));
            $y = $groundY - $r - $hop * ($groundY - 3 * $r);
            $squash = $hop < 0.15 ? 0.8 : 1.0;
            return [
                2 => Matrix::place($x, $groundY, 0, 1.0 - 0.5 * $hop, 0.25),
                3 => Matrix::place($x, $y + $r * (1 - $squash), 0, 2 - $squash, $squash),
            ];
        });
    }

    private function spin(): void
    {
        $size = min($this->w, $this->h) * 0.55;
        $big = $this->movie->defineShape(Shape::solid($this->c2)->rect($size, $size));
        $mid = $this->movie->defineShape(Shape::solid($this->mix(0.5))->rect($size * 0.65, $size * 0.65));
        $star = $this->movie->defineShape(Shape::solid($this->c1)->star(5, $size * 0.3, $size * 0.13));
        $cx = $this->w / 2;
        $cy = $this->h / 2;
        $this->animate([1 => $big, 2 => $mid, 3 => $star], fn (float $t) => [
            1 => Matrix::place($cx, $cy, 2 * M_PI * $t / 4),
            2 => Matrix::place($cx, $cy, -2 * M_PI * $t / 4),
            3 => Matrix::place($cx, $cy, 2 * M_PI * $t, 1 + 0.2 * sin(2 * M_PI * $t), 1 + 0.2 * sin(2 * M_PI * $t)),
        ]);
    }

    private function orbit(): void
    {
        $rc = min($this->w, $this->h) / 7;
        $sun = $this->movie->defineShape(Shape::solid($this->c1)->circle($rc));
        $moon = $this->movie->defineShape(Shape::solid($this->c2)->circle($rc / 3));
        $cx = $this->w / 2;
        $cy = $this->h / 2;
        $this->movie->place(1, $sun, Matrix::place($cx, $cy));
        $moons = [2 => $moon, 3 => $moon, 4 => $moon, 5 => $moon];
        $this->animate($moons, function (float $t) use ($cx, $cy, $rc) {
            $out = [];
            foreach ([2, 3, 4, 5] as $i => $depth) {
                $a = 2 * M_PI * ($t + $i / 4);
                $rr = $rc * (1.8 + 0.5 * $i);
                $out[$depth] = Matrix::place($cx + $rr * cos($a), $cy + 0.6 * $rr * sin($a));
            }
            return $out;
        });
    }

    private function pulse(): void
    {
        $r = min($this->w, $this->h) * 0.4;
        $rings = [];
        foreach ([0.0, 0.35, 0.7] as $i => $f) {
            $rings[$i + 1] = $this->movie->defineShape(Shape::solid($this->mix($f))->circle($r * (1 - 0.3 * $i)));
        }
        $cx = $this->w / 2;
        $cy = $this->h / 2;
        $this->animate($rings, function (float $t) use ($cx, $cy) {
            $out = [];
            foreach ([1, 2, 3] as $depth) {
                $s = 0.75 + 0.25 * sin(2 * M_PI * ($t + $depth / 6));
                $out[$depth] = Matrix::place($cx, $cy, 0, $s, $s);
            }
            return $out;
        });
    }

    private function bars(): void
    {
        $count = 8;
        $slot = $this->w / $count;
        $barH = $this->h * 0.8;
        $shapes = [];
        for ($i = 0; $i < $count; ++$i) {
            $shape = Shape::solid($this->mix($i / ($count - 1)))
                ->polygon([[-$slot * 0.35, -$barH], [$slot * 0.35, -$barH], [$slot * 0.35, 0], [-$slot * 0.35, 0]]);
            $shapes[$i + 1] = $this->movie->defineShape($shape);
        }
        $this->animate($shapes, function (float $t) use ($count, $slot) {
            $out = [];
            for ($i = 0; $i < $count; ++$i) {
                $level = 0.2 + 0.8 * abs(sin(M_PI * (2 * $t + $i * 0.37)));
                $out[$i + 1] = Matrix::place($slot * ($i + 0.5), $this->h * 0.95, 0, 1, $level);
            }
            return $out;
        });
    }

    private function race(): void
    {
        $lanes = 3;
        $laneH = $this->h / $lanes;
        $stripe = $this->movie->defineShape(Shape::solid($this->mix(0.5))->cornerRect($this->w, 4));
        for ($i = 1; $i < $lanes; ++$i) {
            $this->movie->place($i, $stripe, Matrix::place(0, $laneH * $i - 2));
        }
        $car = $this->w / 7;
        $cars = [
            10 => $this->movie->defineShape(Shape::solid($this->c1)->rect($car, $laneH * 0.45)),
            11 => $this->movie->defineShape(Shape::solid($this->c2)->rect($car, $laneH * 0.45)),
            12 => $this->movie->defineShape(Shape::solid($this->mix(0.3))->rect($car, $laneH * 0.45)),
        ];
        $this->animate($cars, function (float $t) use ($laneH, $car) {
            $out = [];
            foreach ([10, 11, 12] as $lane => $depth) {
                $laps = $lane + 1;
                $x = fmod($t * $laps, 1.0) * ($this->w + 2 * $car) - $car;
                $out[$depth] = Matrix::place($x, $laneH * ($lane + 0.5));
            }
            return $out;
        });
    }

    private function grid(): void
    {
        $n = 4;
        $cell = min($this->w, $this->h) * 0.85 / $n;
        $x0 = ($this->w - $cell * $n) / 2;
        $y0 = ($this->h - $cell * $n) / 2;
        $tile = $this->movie->defineShape(Shape::solid($this->c2)->rect($cell * 0.9, $cell * 0.9));
        $depth = 1;
        for ($r = 0; $r < $n; ++$r) {
            for ($c = 0; $c < $n; ++$c) {
                $this->movie->place($depth++, $tile, Matrix::place($x0 + ($c + 0.5) * $cell, $y0 + ($r + 0.5) * $cell));
            }
        }
        $hot = $this->movie->defineShape(Shape::solid($this->c1)->rect($cell * 0.9, $cell * 0.9));
        $star = $this->movie->defineShape(Shape::solid($this->bg)->star(4, $cell * 0.35, $cell * 0.12));
        $path = [[0, 0], [0, 1], [0, 2], [0, 3], [1, 3], [2, 3], [3, 3], [3, 2], [3, 1], [3, 0], [2, 0], [1, 0]];
        $this->animate([40 => $hot, 41 => $star], function (float $t) use ($path, $cell, $x0, $y0) {
            [$c, $r] = $path[(int) floor($t * count($path)) % count($path)];
            $x = $x0 + ($c + 0.5) * $cell;
            $y = $y0 + ($r + 0.5) * $cell;
            return [40 => Matrix::place($x, $y), 41 => Matrix::place($x, $y, 2 * M_PI * $t * 3)];
        });
    }

    /** A night sky of noise under a circling ship: the one big file of the catalogue. */
    private function starfield(): void
    {
        [$bw, $bh] = [1600, 1200];
        $pixels = self::noise($bw * $bh * 4) & str_repeat("\x00\x1f\x3f\x7f", $bw * $bh);
        $bitmap = $this->movie->defineBitmap($bw, $bh, $pixels);
        $toStage = new Matrix(20 * $this->w / $bw, 0, 0, 20 * $this->h / $bh);
        $sky = $this->movie->defineShape(Shape::bitmap($bitmap, $toStage)->cornerRect($this->w, $this->h));
        $this->movie->place(1, $sky, Matrix::place(0, 0));
        $ship = $this->movie->defineShape(Shape::solid($this->c1)->star(6, $this->h / 10, $this->h / 25));
        $glow = $this->movie->defineShape(Shape::solid($this->c2, 120)->circle($this->h / 7));
        $this->animate([2 => $glow, 3 => $ship], function (float $t) {
            $a = 2 * M_PI * $t;
            $x = $this->w / 2 + $this->w / 3 * cos($a);
            $y = $this->h / 2 + $this->h / 4 * sin(2 * $a);
            return [2 => Matrix::place($x, $y), 3 => Matrix::place($x, $y, $a * 2)];
        });
    }

    /**
     * A game played with the keyboard and the mouse: the arrow keys move a
     * square (6 pixels a frame while held); a click, Enter or Space scores a
     * point, and the score bar in the top-left corner grows by its own width.
     */
    private function steer(): void
    {
        $side = min($this->w, $this->h) / 10;
        $ship = $this->movie->defineClip($this->movie->defineShape(Shape::solid($this->c1)->rect($side, $side)));
        $bar = $this->movie->defineClip($this->movie->defineShape(Shape::solid($this->c2)->cornerRect($side / 2, $side / 2)));
        $this->movie->placeClip(1, $bar, Matrix::place($side / 4, $side / 4, 0, 0.0, 1.0), 'bar');

        $steer = new Actions();
        foreach (self::STEER_KEYS as [$key, $property, $delta]) {
            $steer->callMethod('Key', 'isDown', $key)->ifTrue((new Actions())->addToProperty('', $property, $delta));
        }
        $score = fn () => (new Actions())->addToProperty('_root.bar', Actions::XSCALE, 100);
        $keys = (new Actions())->callMethod('Key', 'getCode')
            ->duplicate()->equals(self::KEY_ENTER)->ifTrue($score())
            ->equals(self::KEY_SPACE)->ifTrue($score());
        $this->movie->placeClip(2, $ship, Matrix::place($this->w / 2, $this->h / 2), 'ship', [
            self::ON_ENTER_FRAME => $steer,
            self::ON_MOUSE_DOWN => $score(),
            self::ON_KEY_DOWN => $keys,
        ]);
        $this->movie->showFrame();
    }

    /**
     * Places the moving objects on their depths in frame one, then moves them
     * in every later frame.
     *
     * @param array<int,int> $objects depth => character id
     * @param callable(float):array<int,Matrix> $at placements for a time in [0, 1)
     */
    private function animate(array $objects, callable $at): void
    {
        for ($f = 0; $f < $this->frames; ++$f) {
            $placements = $at($f / $this->frames);
            foreach ($objects as $depth => $id) {
                if ($f === 0) {
                    $this->movie->place($depth, $id, $placements[$depth]);
                } else {
                    $this->movie->move($depth, $placements[$depth]);
                }
            }
            $this->movie->showFrame();
        }
    }

    /** @return array{int,int,int} */
    private function mix(float $t): array
    {
        $out = [];
        for ($i = 0; $i < 3; ++$i) {
            $out[] = (int) round($this->c1[$i] + ($this->c2[$i] - $this->c1[$i]) * $t);
        }
        return $out;
    }

    /** Deterministic pseudo-random bytes. */
    private static function noise(int $length): string
    {
        $out = '';
        for ($i = 0; strlen($out) < $length; ++$i) {
            $out .= hash('sha512', "zorvia-sky-$i", true);
        }
        return substr($out, 0, $length);
    }
}
