<?php

declare(strict_types=1);

namespace Zorvia\Portal\Swf;

/**
 * Assembles a list of ActionScript 1 byte codes, as a frame or a clip event
 * runs them: values pushed on the stack, the operations that take them, and
 * a guarded block that runs when the value on top of the stack is true.
 */
final class Actions
{
    private const NOT = 0x12;
    private const POP = 0x17;
    private const SET_VARIABLE = 0x1D;
    private const NEW_OBJECT = 0x40;
    private const SET_MEMBER = 0x4F;
    private const GET_URL2 = 0x9A;
    private const DEFINE_FUNCTION = 0x9B;
    private const GET_VARIABLE = 0x1C;
    private const GET_PROPERTY = 0x22;
    private const SET_PROPERTY = 0x23;
    private const ADD2 = 0x47;
    private const EQUALS2 = 0x49;
    private const PUSH_DUPLICATE = 0x4C;
    private const CALL_METHOD = 0x52;
    private const GET_URL = 0x83;
    private const PUSH = 0x96;
    private const IF = 0x9D;

    /** Flags of loadUrl: the target is a clip, and variables are loaded into it. */
    public const LOAD_INTO_CLIP = 0x40;
    public const LOAD_VARIABLES = 0x80;

    /** Property numbers of GetProperty and SetProperty. */
    public const X = 0;
    public const Y = 1;
    public const XSCALE = 2;

    private string $code = '';

    /** Strings and whole numbers, pushed in this order. */
    public function push(string|int ...$values): self
    {
        $data = '';
        foreach ($values as $value) {
            if (is_int($value)) {
                $data .= "\x07" . pack('V', $value & 0xFFFFFFFF);
            } elseif (str_contains($value, "\0")) {
                throw new \InvalidArgumentException('a pushed string holds no NUL byte');
            } else {
                $data .= "\x00" . $value . "\0";
            }
        }
        return $this->long(self::PUSH, $data);
    }

    /** object.method(...args): the arguments are pushed before, last first. */
    public function callMethod(string $object, string $method, int ...$args): self
    {
        $this->push(...array_reverse($args));
        $this->push(count($args), $object)->op(self::GET_VARIABLE);
        return $this->push($method)->op(self::CALL_METHOD);
    }

    /** Adds delta to a property of the clip at target ("" for the clip running the code). */
    public function addToProperty(string $target, int $property, int $delta): self
    {
        $this->push($target, $property, $target, $property)->op(self::GET_PROPERTY);
        return $this->push($delta)->op(self::ADD2)->op(self::SET_PROPERTY);
    }

    /** Sets a property of the clip at target to $value. */
    public function setProperty(string $target, int $property, int $value): self
    {
        return $this->push($target, $property, $value)->op(self::SET_PROPERTY);
    }

    /** Pushes the value of the variable $name ("/:name" for one of the main timeline). */
    public function getVariable(string $name): self
    {
        return $this->push($name)->op(self::GET_VARIABLE);
    }

    /** Takes a value and a name below it: name = value. */
    public function setVariable(): self
    {
        return $this->op(self::SET_VARIABLE);
    }

    /** Replaces the two values on top of the stack by their sum (or joined strings). */
    public function add(): self
    {
        return $this->op(self::ADD2);
    }

    /** Replaces the value on top of the stack by its negation. */
    public function not(): self
    {
        return $this->op(self::NOT);
    }

    public function pop(): self
    {
        return $this->op(self::POP);
    }

    /** new constructor(): no arguments. */
    public function newObject(string $constructor): self
    {
        return $this->push(0, $constructor)->op(self::NEW_OBJECT);
    }

    /** Takes a value, a member name and an object below them: object.name = value. */
    public function setMember(): self
    {
        return $this->op(self::SET_MEMBER);
    }

    /** object.method(arg) where the argument is on top of the stack; the result stays. */
    public function callMethodWithValue(string $object, string $method): self
    {
        return $this->push(1)->getVariable($object)->push($method)->op(self::CALL_METHOD);
    }

    /** Opens url in the window target (a fixed address). */
    public function getUrl(string $url, string $target): self
    {
        if (str_contains($url . $target, "\0")) {
            throw new \InvalidArgumentException('an address holds no NUL byte');
        }
        return $this->long(self::GET_URL, $url . "\0" . $target . "\0");
    }

    /** Takes a target and an address below it and loads the address there ($flags above). */
    public function loadUrl(int $flags): self
    {
        return $this->long(self::GET_URL2, chr($flags & 0xFF));
    }

    /** Pushes a function of the named parameters whose body is $body. */
    public function defineFunction(Actions $body, string ...$params): self
    {
        $data = "\0" . pack('v', count($params));
        foreach ($params as $param) {
            $data .= $param . "\0";
        }
        $this->long(self::DEFINE_FUNCTION, $data . pack('v', strlen($body->code)));
        $this->code .= $body->code;
        return $this;
    }

    /** loadMovie(value of $urlVariable, $target): a movie loaded into the clip at $target. */
    public function loadMovieFrom(string $urlVariable, string $target): self
    {
        return $this->getVariable($urlVariable)->push($target)->long(self::GET_URL2, chr(0x40));
    }

    /**
     * $name = new LoadVars(); $name.onLoad = function (ok) { $onLoad };
     * $name.load(value of $urlVariable).
     */
    public function loadVars(string $name, string $urlVariable, Actions $onLoad): self
    {
        $this->push($name, 0, 'LoadVars')->op(self::NEW_OBJECT)->op(self::SET_VARIABLE);
        $this->getVariable($name)->push('onLoad');
        $this->long(self::DEFINE_FUNCTION, "\0" . pack('v', 1) . "ok\0" . pack('v', strlen($onLoad->code)));
        $this->code .= $onLoad->code;
        $this->op(self::SET_MEMBER);
        $this->getVariable($urlVariable)->push(1)->getVariable($name);
        return $this->push('load')->op(self::CALL_METHOD)->op(self::POP);
    }

    /** Replaces the value on top of the stack by whether it equals $value. */
    public function equals(int $value): self
    {
        return $this->push($value)->op(self::EQUALS2);
    }

    public function duplicate(): self
    {
        return $this->op(self::PUSH_DUPLICATE);
    }

    /** Takes the value on top of the stack and runs $body when it is true. */
    public function ifTrue(Actions $body): self
    {
        $this->op(self::NOT);
        $this->long(self::IF, pack('v', strlen($body->code) & 0xFFFF));
        $this->code .= $body->code;
        return $this;
    }

    /** The byte codes with the end mark. */
    public function bytes(): string
    {
        return $this->code . "\0";
    }

    private function op(int $code): self
    {
        $this->code .= chr($code);
        return $this;
    }

    private function long(int $code, string $data): self
    {
        if (strlen($data) > 0xFFFF) {
            throw new \LengthException('action data too long');
        }
        $this->code .= chr($code) . pack('v', strlen($data)) . $data;
        return $this;
    }
}
