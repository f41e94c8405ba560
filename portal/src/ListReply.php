<?php

declare(strict_types=1);

namespace Zorvia\Portal;

/**
 * The plain-text list reply the game box parses: "id|name|id|name|".
 * Names cannot carry the separator or line breaks, so those are replaced.
 */
final class ListReply
{
    /** @param iterable<array{id:int|string,name:string}> $items */
    public static function encode(iterable $items): string
    {
        $out = '';
        foreach ($items as $item) {
            $name = strtr((string) $item['name'], ['|' => '｜', "\r" => ' ', "\n" => ' ']);
            $out .= $item['id'] . '|' . $name . '|';
        }
        return $out;
    }
}
