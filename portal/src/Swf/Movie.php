<?php

declare(strict_types=1);

namespace Zorvia\Portal\Swf;

/**
 * Builds a movie file tag by tag: definitions, placements on depths and
 * frames. The result is either uncompressed ("FWS") or zlib-compressed ("CWS").
 */
final class Movie
{
    private const END = 0;
    private const SHOW_FRAME = 1;
    private const SET_BACKGROUND_COLOR = 9;
    private const DO_ACTION = 12;
    private const DEFINE_SOUND = 14;
    private const START_SOUND = 15;
    private const DEFINE_BITS_LOSSLESS = 20;
    private const PLACE_OBJECT2 = 26;
    private const DEFINE_SHAPE3 = 32;
    private const DEFINE_SPRITE = 39;
    private const FILE_ATTRIBUTES = 69;

    private string $tags = '';
    private int $nextId = 1;
    private int $frames = 0;

    public function __construct(
        private readonly int $width,
        private readonly int $height,
        private readonly int $fps,
        private readonly int $version = 10,
    ) {
        if ($width <= 0 || $height <= 0 || $fps <= 0 || $fps > 255) {
            throw new \InvalidArgumentException('bad stage size or frame rate');
        }
        if ($version >= 8) {
            $this->tag(self::FILE_ATTRIBUTES, pack('V', 0));
        }
    }

    /** @param array{int,int,int} $rgb */
    public function background(array $rgb): void
    {
        $this->tag(self::SET_BACKGROUND_COLOR, chr($rgb[0]) . chr($rgb[1]) . chr($rgb[2]));
    }

    public function defineShape(Shape $shape): int
    {
        $id = $this->nextId++;
        $this->tag(self::DEFINE_SHAPE3, $shape->encode($id));
        return $id;
    }

    /**
     * Defines a 32-bit bitmap; $pixels holds 4 bytes per pixel (reserved, red,
     * green, blue), rows top to bottom.
     */
    public function defineBitmap(int $w, int $h, string $pixels, int $level = 1): int
    {
        if (strlen($pixels) !== $w * $h * 4) {
            throw new \InvalidArgumentException('pixel data does not match the bitmap size');
        }
        $id = $this->nextId++;
        $this->tag(self::DEFINE_BITS_LOSSLESS, pack('vCvv', $id, 5, $w, $h) . gzcompress($pixels, $level));
        return $id;
    }

    /**
     * Defines a sine tone of $hz for $seconds as 16-bit mono samples at
     * 11025 Hz, stored uncompressed.
     */
    public function defineTone(float $hz, float $seconds, float $amplitude = 0.5): int
    {
        $rate = 11025;
        $count = max(1, (int) round($seconds * $rate));
        $samples = '';
        for ($i = 0; $i < $count; ++$i) {
            $samples .= pack('v', ((int) round($amplitude * 32767 * sin(2 * M_PI * $hz * $i / $rate))) & 0xFFFF);
        }
        $id = $this->nextId++;
        // Format 3 (uncompressed, little-endian), rate 1 (11 kHz), 16 bits, mono.
        $this->tag(self::DEFINE_SOUND, pack('vC', $id, (3 << 4) | (1 << 2) | (1 << 1)) . pack('V', $count) . $samples);
        return $id;
    }

    /** Starts the sound $id on this frame, repeated $loops times (at most 65535). */
    public function startSound(int $id, int $loops = 1): void
    {
        if ($loops < 1 || $loops > 0xFFFF) {
            throw new \InvalidArgumentException('loops lie in 1 to 65535');
        }
        // Loops given; not started again while it plays (the timeline loops).
        $this->tag(self::START_SOUND, pack('vCv', $id, 0x14, $loops));
    }

    public function place(int $depth, int $id, Matrix $m): void
    {
        $this->tag(self::PLACE_OBJECT2, chr(0x06) . pack('vv', $depth, $id) . $m->bytes());
    }

    public function move(int $depth, Matrix $m): void
    {
        $this->tag(self::PLACE_OBJECT2, chr(0x05) . pack('v', $depth) . $m->bytes());
    }

    /** A movie clip of one frame that shows the shape $shapeId at its origin. */
    public function defineClip(int $shapeId): int
    {
        $id = $this->nextId++;
        $inner = self::tagBytes(self::PLACE_OBJECT2, chr(0x06) . pack('vv', 1, $shapeId) . Matrix::place(0, 0)->bytes())
            . self::tagBytes(self::SHOW_FRAME, '')
            . self::tagBytes(self::END, '');
        $this->tag(self::DEFINE_SPRITE, pack('vv', $id, 1) . $inner);
        return $id;
    }

    /**
     * Places a movie clip under an instance name that scripts address it by,
     * with the clip event handlers $events (event flags => Actions).
     *
     * @param array<int,Actions> $events
     */
    public function placeClip(int $depth, int $id, Matrix $m, string $name, array $events = []): void
    {
        $flags = 0x26 | ($events === [] ? 0 : 0x80);
        $body = chr($flags) . pack('vv', $depth, $id) . $m->bytes() . $name . "\0";
        if ($events !== []) {
            $all = 0;
            $records = '';
            foreach ($events as $event => $actions) {
                $code = $actions->bytes();
                $all |= $event;
                $records .= pack('VV', $event, strlen($code)) . $code;
            }
            $body .= pack('vV', 0, $all) . $records . pack('V', 0);
        }
        $this->tag(self::PLACE_OBJECT2, $body);
    }

    /** Actions that run when the frame being built is shown. */
    public function frameActions(Actions $actions): void
    {
        $this->tag(self::DO_ACTION, $actions->bytes());
    }

    public function showFrame(): void
    {
        $this->tag(self::SHOW_FRAME, '');
        ++$this->frames;
    }

    public function frameCount(): int
    {
        return $this->frames;
    }

    public function bytes(bool $compressed): string
    {
        if ($this->frames === 0) {
            throw new \LogicException('a movie needs at least one frame');
        }
        $body = Rect::bytes(0, $this->width * 20, 0, $this->height * 20)
            . pack('vv', $this->fps << 8, $this->frames)
            . $this->tags
            . pack('v', self::END << 6);
        $length = 8 + strlen($body);
        if ($compressed) {
            if ($this->version < 6) {
                throw new \LogicException('compressed movies need version 6 or later');
            }
            return 'CWS' . chr($this->version) . pack('V', $length) . gzcompress($body, 9);
        }
        return 'FWS' . chr($this->version) . pack('V', $length) . $body;
    }

    private function tag(int $code, string $body): void
    {
        $this->tags .= self::tagBytes($code, $body);
    }

    private static function tagBytes(int $code, string $body): string
    {
        $len = strlen($body);
        $long = $len >= 0x3F || $code === self::DEFINE_BITS_LOSSLESS || $code === self::DEFINE_SOUND;
        return $long
            ? pack('vV', ($code << 6) | 0x3F, $len) . $body
            : pack('v', ($code << 6) | $len) . $body;
    }
}
