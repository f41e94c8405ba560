<?php

declare(strict_types=1);

namespace Zorvia\Portal\Swf;

/**
 * Packs bit fields most significant bit first, as the movie format stores
 * rectangles, matrices and shape records.
 */
final class BitWriter
{
    private string $bytes = '';
    private int $current = 0;
    private int $used = 0;

    /** Bits needed to hold $value as a signed field (two's complement). */
    public static function signedBits(int ...$values): int
    {
        $bits = 1;
        foreach ($values as $v) {
            $magnitude = $v < 0 ? ~$v : $v;
            $n = 1;
            while ($magnitude > 0) {
                $magnitude >>= 1;
                ++$n;
            }
            $bits = max($bits, $n);
        }
        return $bits;
    }

    public function unsigned(int $bits, int $value): void
    {
        if ($value < 0 || ($bits < 63 && $value >= (1 << $bits))) {
            throw new \RangeException("value $value does not fit in $bits unsigned bits");
        }
        for ($i = $bits - 1; $i >= 0; --$i) {
            $this->bit(($value >> $i) & 1);
        }
    }

    public function signed(int $bits, int $value): void
    {
        if ($bits === 0) {
            if ($value !== 0) {
                throw new \RangeException("value $value needs bits");
            }
            return;
        }
        $limit = 1 << ($bits - 1);
        if ($value < -$limit || $value >= $limit) {
            throw new \RangeException("value $value does not fit in $bits signed bits");
        }
        $this->unsigned($bits, $value & ((1 << $bits) - 1));
    }

    /** Pads the last byte with zero bits. */
    public function align(): void
    {
        if ($this->used > 0) {
            $this->bytes .= chr($this->current << (8 - $this->used));
            $this->current = 0;
            $this->used = 0;
        }
    }

    public function bytes(): string
    {
        $this->align();
        return $this->bytes;
    }

    private function bit(int $b): void
    {
        $this->current = ($this->current << 1) | $b;
        if (++$this->used === 8) {
            $this->bytes .= chr($this->current);
            $this->current = 0;
            $this->used = 0;
        }
    }
}
