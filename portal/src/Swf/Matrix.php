<?php

declare(strict_types=1);

namespace Zorvia\Portal\Swf;

/**
 * An affine placement: x' = x·scaleX + y·rotate1 + tx, y' = x·rotate0 + y·scaleY + ty.
 * Translations are in twips (1/20 pixel).
 */
final class Matrix
{
    public function __construct(
        public readonly float $scaleX = 1.0,
        public readonly float $rotate0 = 0.0,
        public readonly float $rotate1 = 0.0,
        public readonly float $scaleY = 1.0,
        public readonly int $tx = 0,
        public readonly int $ty = 0,
    ) {
    }

    /** Scale, then rotate (radians, clockwise on screen), then move to ($x, $y) pixels. */
    public static function place(float $x, float $y, float $angle = 0.0, float $sx = 1.0, float $sy = 1.0): self
    {
        $cos = cos($angle);
        $sin = sin($angle);
        return new self($sx * $cos, $sx * $sin, -$sy * $sin, $sy * $cos, (int) round($x * 20), (int) round($y * 20));
    }

    public function write(BitWriter $w): void
    {
        $sx = self::fixed($this->scaleX);
        $sy = self::fixed($this->scaleY);
        if ($sx !== 0x10000 || $sy !== 0x10000) {
            $w->unsigned(1, 1);
            $n = BitWriter::signedBits($sx, $sy);
            $w->unsigned(5, $n);
            $w->signed($n, $sx);
            $w->signed($n, $sy);
        } else {
            $w->unsigned(1, 0);
        }
        $r0 = self::fixed($this->rotate0);
        $r1 = self::fixed($this->rotate1);
        if ($r0 !== 0 || $r1 !== 0) {
            $w->unsigned(1, 1);
            $n = BitWriter::signedBits($r0, $r1);
            $w->unsigned(5, $n);
            $w->signed($n, $r0);
            $w->signed($n, $r1);
        } else {
            $w->unsigned(1, 0);
        }
        $n = ($this->tx === 0 && $this->ty === 0) ? 0 : BitWriter::signedBits($this->tx, $this->ty);
        $w->unsigned(5, $n);
        $w->signed($n, $this->tx);
        $w->signed($n, $this->ty);
        $w->align();
    }

    public function bytes(): string
    {
        $w = new BitWriter();
        $this->write($w);
        return $w->bytes();
    }

    /** 16.16 fixed point. */
    private static function fixed(float $v): int
    {
        return (int) round($v * 65536);
    }
}
