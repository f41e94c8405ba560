<?php

declare(strict_types=1);

namespace Zorvia\Portal;

use PDO;

/**
 * Everything behind /mini.php: the text replies the game box reads and the
 * pages its browsers show.
 */
final class MiniEndpoint
{
    public const COOKIE = 'zvsid';
    public const LOGIN_CHANNEL = 'zorvia-login';

    private readonly Accounts $accounts;
    private readonly Catalog $catalog;
    private readonly Favourites $favourites;
    private readonly View $view;
    /** @var array{id:int,name:string}|null */
    private ?array $user;
    private ?string $sessionId;

    /**
     * @param array<string,mixed> $get
     * @param array<string,mixed> $post
     * @param array<string,mixed> $cookies
     */
    public function __construct(
        PDO $db,
        private readonly string $method,
        private readonly array $get,
        private readonly array $post,
        array $cookies,
    ) {
        $this->accounts = new Accounts($db);
        $this->catalog = new Catalog($db);
        $this->favourites = new Favourites($db);
        $this->view = new View();
        $sid = $cookies[self::COOKIE] ?? null;
        $this->sessionId = is_string($sid) ? $sid : null;
        $this->user = $this->accounts->userForSession($this->sessionId);
    }

    public function handle(): Response
    {
        $action = $this->param('action');
        if ($action !== null) {
            return match ($action) {
                'catlist' => $this->catList(),
                'favlist' => $this->favList(),
                'favcount' => $this->favCount(),
                'login' => $this->method === 'POST' ? $this->login() : $this->loginPanel(),
                'logout' => $this->logout(),
                'register' => $this->register(),
                'myfav' => $this->myFavourites(),
                default => $this->notFound(),
            };
        }
        foreach (['favadd', 'favdel', 'itemid', 'catid', 'keyword'] as $key) {
            if (array_key_exists($key, $this->get)) {
                return match ($key) {
                    'favadd' => $this->favAdd(),
                    'favdel' => $this->favDel(),
                    'itemid' => $this->gamePage(),
                    'catid' => $this->categoryPage(),
                    'keyword' => $this->searchPage(),
                };
            }
        }
        return $this->startPage();
    }

    private function catList(): Response
    {
        $items = array_map(fn ($c) => ['id' => $c['id'], 'name' => $c['name']], $this->catalog->categories());
        return Response::text(ListReply::encode($items));
    }

    /** Nobody logged in: an empty list. */
    private function favList(): Response
    {
        return Response::text($this->user === null ? '' : ListReply::encode($this->favourites->list($this->user['id'])));
    }

    /** The number of favourites, which the login panel keeps up to date; empty when nobody is logged in. */
    private function favCount(): Response
    {
        return Response::text($this->user === null ? '' : (string) $this->favourites->count($this->user['id']));
    }

    private function favAdd(): Response
    {
        if ($this->user === null) {
            return Response::text('USER');
        }
        $id = $this->id('favadd');
        return Response::text($id === null ? Favourites::NO_GAME : $this->favourites->add($this->user['id'], $id));
    }

    private function favDel(): Response
    {
        if ($this->user === null) {
            return Response::text('USER');
        }
        $id = $this->id('favdel');
        $removed = $id !== null && $this->favourites->remove($this->user['id'], $id);
        return Response::text($removed ? 'OK' : Favourites::NO_GAME);
    }

    private function loginPanel(string $error = '', string $name = ''): Response
    {
        $vars = ['user' => $this->user, 'error' => $error, 'name' => $name,
            'demoUser' => Setup::DEMO_USER, 'demoPassword' => Setup::DEMO_PASSWORD, 'channel' => self::LOGIN_CHANNEL];
        if ($this->user !== null) {
            $vars['favCount'] = $this->favourites->count($this->user['id']);
        }
        return Response::html($this->view->render('panel', $vars));
    }

    private function login(): Response
    {
        $name = trim($this->postText('username'));
        $password = $this->postText('password');
        if ($name === '' || $password === '') {
            return $this->loginPanel('请输入用户名和密码', $name);
        }
        $sid = $this->accounts->login($name, $password);
        if ($sid === null) {
            return $this->loginPanel('用户名或密码错误', $name);
        }
        $this->accounts->logout($this->sessionId);
        return Response::redirect('/mini.php?action=login')->withHeader(self::sessionCookie($sid));
    }

    private function logout(): Response
    {
        $this->accounts->logout($this->sessionId);
        return Response::redirect('/mini.php?action=login')
            ->withHeader('Set-Cookie: ' . self::COOKIE . '=deleted; Expires=Thu, 01 Jan 1970 00:00:00 GMT; Max-Age=0; Path=/; HttpOnly; SameSite=Lax');
    }

    private function register(): Response
    {
        $vars = ['title' => '注册新用户', 'cats' => $this->catalog->categories(), 'error' => '', 'name' => '', 'done' => false,
            'channel' => self::LOGIN_CHANNEL, 'user' => $this->user];
        if ($this->method !== 'POST') {
            return Response::html($this->view->page('register', $vars));
        }
        $name = trim($this->postText('username'));
        $password = $this->postText('password');
        $vars['name'] = $name;
        $problem = $this->accounts->registrationProblem($name, $password);
        if ($problem === null && $password !== $this->postText('password2')) {
            $problem = '两次输入的密码不一致';
        }
        if ($problem !== null) {
            $vars['error'] = $problem;
            return Response::html($this->view->page('register', $vars));
        }
        $this->accounts->logout($this->sessionId);
        $sid = $this->accounts->openSession($this->accounts->register($name, $password));
        $vars['done'] = true;
        return Response::html($this->view->page('register', $vars))->withHeader(self::sessionCookie($sid));
    }

    private function myFavourites(): Response
    {
        $games = [];
        if ($this->user !== null) {
            foreach ($this->favourites->list($this->user['id']) as $fav) {
                $game = $this->catalog->game($fav['id']);
                if ($game !== null) {
                    $games[] = $game;
                }
            }
        }
        return Response::html($this->view->page('myfav', [
            'title' => '我的收藏', 'cats' => $this->catalog->categories(), 'user' => $this->user, 'games' => $games,
        ]));
    }

    private function startPage(): Response
    {
        return Response::html($this->view->page('home', [
            'title' => 'Zorvia游戏盒子 - 精品Flash小游戏',
            'cats' => $this->catalog->categories(),
            'featured' => $this->catalog->featured(9),
            'newest' => $this->catalog->newest(9),
            'activeCat' => -1,
        ]));
    }

    private function categoryPage(): Response
    {
        $id = $this->id('catid');
        $cat = $id === null ? null : $this->catalog->category($id);
        if ($cat === null) {
            return $this->notFound('没有这个游戏分类');
        }
        $games = $this->catalog->gamesIn($id);
        $more = array_values(array_filter($this->catalog->popular(12), fn ($g) => (int) $g['catid'] !== $id));
        return Response::html($this->view->page('category', [
            'title' => $cat['name'] . ' - Zorvia游戏盒子',
            'cats' => $this->catalog->categories(),
            'cat' => $cat,
            'activeCat' => $id,
            'games' => $games,
            'more' => array_slice($more, 0, 4),
            'popular' => $this->catalog->popular(6),
        ]));
    }

    private function gamePage(): Response
    {
        $id = $this->id('itemid');
        $game = $id === null ? null : $this->catalog->game($id);
        if ($game === null) {
            return $this->notFound('对不起，这个游戏不存在或已被删除');
        }
        $this->catalog->countPlay($id);
        return Response::html($this->view->page('game', [
            // The game box takes the page title as the game's name.
            'title' => $game['name'],
            'game' => $game,
            'related' => $this->catalog->related($game, 4),
            'compact' => true,
            // A Flash-era page: the browser's player plays the movie. Ordinary
            // browsers, which have none, may ask for the portal's own with player=1.
            'ownPlayer' => $this->param('player') === '1',
            // The movie comes from the portal's file host, another origin; the
            // portal's own player, bound to the browser's rules, takes it from
            // the page's host.
            'fileBase' => $this->param('player') === '1' ? '' : 'http://' . Runtime::fileHost((string) ($_SERVER['HTTP_HOST'] ?? '127.0.0.1')),
            'markup' => $this->param('player') === '1' ? 'object' : self::movieMarkup($game),
        ]));
    }

    /**
     * How a game page embeds its movie, as Flash-era pages did: most with an
     * <object> and its <param>, games of some categories through a script
     * that looks for an installed Flash player first, and one game with an
     * <object> of the player's class and nothing else; one game's page holds
     * a loader from the portal's host that brings the game's movie and a
     * text from the file host.
     */
    private static function movieMarkup(array $game): string
    {
        if ((int) $game['id'] === 129) {
            return 'classid';
        }
        if ((int) $game['id'] === 137) {
            return 'loader';
        }
        return in_array((int) $game['catid'], [2, 5, 7], true) ? 'detect' : 'object';
    }

    private function searchPage(): Response
    {
        $raw = $this->param('keyword') ?? '';
        $vars = ['title' => '搜索 - Zorvia游戏盒子', 'cats' => $this->catalog->categories(), 'keyword' => '',
            'message' => '', 'results' => [], 'popular' => $this->catalog->popular(6)];
        if (!preg_match('//u', $raw)) {
            $vars['message'] = '关键字的编码无法识别，请重新输入';
        } elseif (trim($raw) === '') {
            $vars['message'] = '请输入关键字';
        } else {
            $vars['keyword'] = $raw;
            $vars['title'] = $raw . ' - 搜索 - Zorvia游戏盒子';
            $vars['results'] = $this->catalog->search($raw);
        }
        return Response::html($this->view->page('search', $vars));
    }

    private function notFound(string $message = '您访问的页面不存在'): Response
    {
        return Response::html($this->view->page('notfound', [
            'title' => '页面不存在 - Zorvia游戏盒子', 'cats' => $this->catalog->categories(), 'message' => $message,
            'popular' => $this->catalog->popular(6),
        ]), 404);
    }

    private static function sessionCookie(string $sid): string
    {
        $expires = gmdate('D, d M Y H:i:s', time() + Accounts::SESSION_SECONDS) . ' GMT';
        return 'Set-Cookie: ' . self::COOKIE . '=' . $sid . '; Expires=' . $expires . '; Max-Age=' . Accounts::SESSION_SECONDS
            . '; Path=/; HttpOnly; SameSite=Lax';
    }

    /** A query parameter given once as text; null when missing or given as a list. */
    private function param(string $key): ?string
    {
        $value = $this->get[$key] ?? null;
        return is_string($value) ? $value : null;
    }

    private function postText(string $key): string
    {
        $value = $this->post[$key] ?? '';
        return is_string($value) ? $value : '';
    }

    /** A positive decimal id, or null for anything else. */
    private function id(string $key): ?int
    {
        $value = $this->param($key);
        return ($value !== null && preg_match('/^[0-9]{1,9}$/D', $value) && (int) $value > 0) ? (int) $value : null;
    }
}
