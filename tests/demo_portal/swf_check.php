<?php

declare(strict_types=1);

/**
 * Walks a movie file the way a player reads it: header, stage rectangle,
 * then tag by tag to the end tag. Returns what is wrong, or null.
 */
function swfProblem(string $bytes): ?string
{
    if (strlen($bytes) < 8) {
        return 'shorter than a header';
    }
    $sig = substr($bytes, 0, 3);
    $length = unpack('V', $bytes, 4)[1];
    if ($sig === 'CWS') {
        $body = @gzuncompress(substr($bytes, 8));
        if ($body === false) {
            return 'compressed body does not inflate';
        }
        $bytes = substr($bytes, 0, 8) . $body;
    } elseif ($sig !== 'FWS') {
        return "bad signature '$sig'";
    }
    if (strlen($bytes) !== $length) {
        return "header says $length bytes, file has " . strlen($bytes);
    }
    $nbits = ord($bytes[8]) >> 3;
    $pos = 8 + intdiv(5 + 4 * $nbits + 7, 8);
    $rate = unpack('v', $bytes, $pos)[1];
    $frames = unpack('v', $bytes, $pos + 2)[1];
    $pos += 4;
    if ($rate >> 8 === 0 || $frames === 0) {
        return 'no frame rate or no frames';
    }
    $shown = 0;
    $seen = [];
    while (true) {
        if ($pos + 2 > $length) {
            return 'ends without an end tag';
        }
        $h = unpack('v', $bytes, $pos)[1];
        $pos += 2;
        [$code, $len] = [$h >> 6, $h & 0x3F];
        if ($len === 0x3F) {
            $len = unpack('V', $bytes, $pos)[1];
            $pos += 4;
        }
        if ($pos + $len > $length) {
            return "tag $code runs past the end";
        }
        $seen[$code] = true;
        if ($code === 1) {
            ++$shown;
        } elseif ($code === 20 || $code === 36) {
            $info = unpack('vid/Cformat/vw/vh', $bytes, $pos);
            $pixels = @gzuncompress(substr($bytes, $pos + 7, $len - 7));
            if ($info['format'] !== 5 || $pixels === false || strlen($pixels) !== $info['w'] * $info['h'] * 4) {
                return 'bitmap data does not match its size';
            }
        } elseif ($code === 0) {
            if ($pos !== $length) {
                return 'bytes after the end tag';
            }
            break;
        }
        $pos += $len;
    }
    if ($shown !== $frames) {
        return "header says $frames frames, $shown shown";
    }
    if (!isset($seen[26]) || !(isset($seen[2]) || isset($seen[22]) || isset($seen[32]))) {
        return 'nothing is drawn';
    }
    return null;
}
