<?php

declare(strict_types=1);

// Entry point of the demo portal under PHP's built-in web server
// (see serve.sh). Every request passes through here.

require __DIR__ . '/src/bootstrap.php';

use Zorvia\Portal\Response;
use Zorvia\Portal\Router;

$method = $_SERVER['REQUEST_METHOD'] ?? 'GET';
try {
    $response = Router::dispatch($method, $_SERVER['REQUEST_URI'] ?? '/');
} catch (Throwable $e) {
    error_log('demo portal: ' . $e);
    $response = Response::html('<!doctype html><meta charset="utf-8"><title>服务器出错</title>'
        . '<p style="font:14px sans-serif;margin:40px;text-align:center">服务器开小差了，请稍后再试。</p>', 500);
}
$response->send($method === 'HEAD');
return true;
