<?php

declare(strict_types=1);

// The movie writer's bit packing, read back with an independent reader.
// Usage: php swf_writer_test.php <portal folder>

require ($argv[1] ?? __DIR__ . '/../../portal') . '/src/bootstrap.php';

use Zorvia\Portal\Swf\Actions;
use Zorvia\Portal\Swf\BitWriter;
use Zorvia\Portal\Swf\Matrix;
use Zorvia\Portal\Swf\Rect;
use Zorvia\Portal\Swf\Shape;

$passed = 0;
$failed = 0;
function check(bool $ok, string $what, string $detail = ''): void
{
    global $passed, $failed;
    $ok ? ++$passed : ++$failed;
    echo ($ok ? 'ok   ' : 'FAIL ') . $what . ($ok || $detail === '' ? '' : "\n       $detail") . "\n";
}

final class BitReader
{
    private int $pos = 0; // in bits

    public function __construct(private readonly string $bytes)
    {
    }

    public function u(int $n): int
    {
        $v = 0;
        for ($i = 0; $i < $n; ++$i, ++$this->pos) {
            $v = ($v << 1) | ((ord($this->bytes[$this->pos >> 3]) >> (7 - ($this->pos & 7))) & 1);
        }
        return $v;
    }

    public function s(int $n): int
    {
        $v = $this->u($n);
        return ($n > 0 && ($v >> ($n - 1)) & 1) ? $v - (1 << $n) : $v;
    }

    public function align(): void
    {
        $this->pos = ($this->pos + 7) & ~7;
    }

    public function bytePos(): int
    {
        return $this->pos >> 3;
    }
}

// Stage rectangles as every 550×400 and 800×600 movie header carries them.
$rects = [
    [[0, 11000, 0, 8000], '7800055f00000fa000'],
    [[0, 16000, 0, 12000], '780007d00000177000'],
    [[0, 0, 0, 0], '0800'],
];
foreach ($rects as [$r, $hex]) {
    check(bin2hex(Rect::bytes(...$r)) === $hex, 'rect ' . implode(',', $r), bin2hex(Rect::bytes(...$r)));
}

// Signed fields: boundaries of each width come back unchanged; one past them is refused.
foreach ([1, 2, 5, 15, 17, 31] as $bits) {
    $lo = -(1 << ($bits - 1));
    $hi = (1 << ($bits - 1)) - 1;
    $values = array_values(array_unique([$lo, $lo + 1, -1, 0, $hi - 1, $hi]));
    $w = new BitWriter();
    foreach ($values as $v) {
        $w->signed($bits, $v);
    }
    $r = new BitReader($w->bytes());
    $back = array_map(fn () => $r->s($bits), $values);
    check($back === array_values($values), "signed $bits-bit values read back", implode(',', $back));
    check(BitWriter::signedBits($lo, $hi) === $bits, "signedBits finds $bits bits for $lo..$hi");
    foreach ([$lo - 1, $hi + 1] as $out) {
        try {
            (new BitWriter())->signed($bits, $out);
            check(false, "$out is refused in $bits signed bits");
        } catch (RangeException) {
            check(true, "$out is refused in $bits signed bits");
        }
    }
}

// Matrices read back to what was placed.
$matrices = [
    Matrix::place(0, 0),
    Matrix::place(275, 200),
    Matrix::place(-12.5, 3000.05, M_PI / 3, 1.5, 0.25),
    Matrix::place(10, 10, -M_PI, 1, 1),
    new Matrix(20 * 550 / 1600, 0, 0, 20 * 400 / 1200),
];
foreach ($matrices as $i => $m) {
    $r = new BitReader($m->bytes());
    [$sx, $sy, $r0, $r1] = [1.0, 1.0, 0.0, 0.0];
    if ($r->u(1)) {
        $n = $r->u(5);
        [$sx, $sy] = [$r->s($n) / 65536, $r->s($n) / 65536];
    }
    if ($r->u(1)) {
        $n = $r->u(5);
        [$r0, $r1] = [$r->s($n) / 65536, $r->s($n) / 65536];
    }
    $n = $r->u(5);
    [$tx, $ty] = [$r->s($n), $r->s($n)];
    $close = fn (float $a, float $b) => abs($a - $b) <= 1 / 65536;
    check($close($sx, $m->scaleX) && $close($sy, $m->scaleY) && $close($r0, $m->rotate0) && $close($r1, $m->rotate1)
        && $tx === $m->tx && $ty === $m->ty && $r->bytePos() <= strlen($m->bytes()), "matrix $i reads back");
}

// Every outline of a shape ends where it started (else the fill leaks) and lies inside the bounds.
$shapes = [
    'rect' => Shape::solid([1, 2, 3])->rect(33.35, 17.05),
    'corner rect' => Shape::solid([1, 2, 3])->cornerRect(800, 600),
    'circle' => Shape::solid([1, 2, 3])->circle(13.33),
    'offset circle' => Shape::solid([1, 2, 3])->circle(40, -7.3, 11.1),
    'star' => Shape::solid([1, 2, 3])->star(5, 57.7, 21.3),
    'two outlines' => Shape::solid([1, 2, 3])->circle(5)->rect(100, 3),
];
foreach ($shapes as $name => $shape) {
    $body = $shape->encode(7);
    $r = new BitReader(substr($body, 2));
    $n = $r->u(5);
    [$x0, $x1, $y0, $y1] = [$r->s($n), $r->s($n), $r->s($n), $r->s($n)];
    $r->align();
    $pos = 2 + $r->bytePos() + 1 + 5 + 1; // one solid RGBA fill, no line styles
    $r = new BitReader(substr($body, $pos));
    $r->u(8); // index bits of fills and lines
    $problems = [];
    $paths = 0;
    [$x, $y, $sx, $sy] = [0, 0, 0, 0];
    $inside = fn (int $px, int $py) => $px >= $x0 && $px <= $x1 && $py >= $y0 && $py <= $y1;
    while (true) {
        if ($r->u(1) === 0) {
            $flags = $r->u(5);
            if ($flags === 0) {
                break;
            }
            if ($paths > 0 && ($x !== $sx || $y !== $sy)) {
                $problems[] = "outline $paths ends at $x,$y, not $sx,$sy";
            }
            $m = $r->u(5);
            [$x, $y] = [$r->s($m), $r->s($m)];
            [$sx, $sy] = [$x, $y];
            $r->u(1); // fill style 1
            ++$paths;
            continue;
        }
        $straight = $r->u(1);
        $bits = $r->u(4) + 2;
        if ($straight) {
            $r->u(1);
            $x += $r->s($bits);
            $y += $r->s($bits);
        } else {
            $cx = $x + $r->s($bits);
            $cy = $y + $r->s($bits);
            $inside($cx, $cy) || $problems[] = "control point $cx,$cy outside";
            $x = $cx + $r->s($bits);
            $y = $cy + $r->s($bits);
        }
        $inside($x, $y) || $problems[] = "point $x,$y outside";
    }
    if ($x !== $sx || $y !== $sy) {
        $problems[] = "last outline ends at $x,$y, not $sx,$sy";
    }
    check($problems === [] && $paths > 0, "shape '$name' outlines close inside their bounds", implode('; ', $problems));
}

// Script byte codes: pushed values typed and NUL-ended, a guarded block
// skipped by its exact length, the end mark last.
$body = (new Actions())->push(2);
$actions = [
    [(new Actions())->push('ab', -1), "960900" . "00616200" . "07ffffffff" . "00", 'a string and a whole number pushed'],
    [(new Actions())->push(1)->ifTrue($body), "960500" . "0701000000" . "12" . "9d02000800" . "960500" . "0702000000" . "00", 'a block run when true'],
    [(new Actions())->callMethod('Key', 'isDown', 39), "960500" . "0727000000" . "960a00" . "0701000000" . "004b657900" . "1c" . "960800" . "00697344" . "6f776e00" . "52" . "00", 'a method call with one argument'],
    [(new Actions())->addToProperty('', Actions::X, 6), "960e00" . "0000" . "0700000000" . "0000" . "0700000000" . "22" . "960500" . "0706000000" . "47" . "23" . "00", 'a property of the running clip increased'],
];
foreach ($actions as [$built, $hex, $what]) {
    check(bin2hex($built->bytes()) === $hex, $what, bin2hex($built->bytes()) . " != $hex");
}

echo "\n$passed passed, $failed failed\n";
exit($failed === 0 ? 0 : 1);
