<?php

declare(strict_types=1);

// Writes loader.swf (see the demo portal's LoaderArt): 550×400, the loaded
// movie at (200, 100). Run: php loader.php <portal folder> <output file>

require $argv[1] . '/src/bootstrap.php';

file_put_contents($argv[2], Zorvia\Portal\Swf\LoaderArt::render(550, 400, 200, 100));
