#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora (fuzz/corpus/<target>/) and their
dictionaries (fuzz/<target>.dict): short games that reach what random bytes
find slowly. The targets read their inputs with FuzzedDataProvider, which
takes every number from the end of the input backwards; each seed is written
as the targets read it and then turned around. The operation tables here
follow the order of the targets' own (Op and kOps in engine_fuzz.cpp and
window_fuzz.cpp): change both together.

Usage: fuzz/seeds.py   (from anywhere; rewrites the files in place)
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))


class Input:
    """An input in the order the target reads it."""

    def __init__(self):
        self.read = []

    def number(self, value, lo, hi, bits=32):
        """ConsumeIntegralInRange(lo, hi) for a type of `bits` bits giving `value`."""
        assert lo <= value <= hi
        span, result, count = hi - lo, value - lo, 0
        while count * 8 < bits and span >> (count * 8):
            count += 1
        self.read += [(result >> (8 * (count - 1 - i))) & 0xFF for i in range(count)]
        return self

    def byte(self, value):
        return self.number(value, 0, 255, 8)

    def int32(self, value):
        return self.number(value, -(2**31), 2**31 - 1)

    def uint32(self, value):
        return self.number(value, 0, 2**32 - 1)

    def data(self):
        return bytes(reversed(self.read))


# engine_fuzz ---------------------------------------------------------------

E_OPS = dict(KeyDown=0, KeyUp=1, Click=2, Pass=3, NextTick=4, Draws=5, AutoPlay=6, HoldKey=7)
E_KEYS = dict(Space=0, Left=1, Up=2, Right=3, Down=4, P=5, F1=6, F2=7)
E_BUTTONS = dict(pause=0, gameover=1, nextlevel=2, none=3, form=4)


class EngineGame(Input):
    def __init__(self, seed, draw=0.5):
        super().__init__()
        self.uint32(seed).number(int(draw * (1 << 24)), 0, (1 << 24) - 1)

    def op(self, name):
        return self.number(E_OPS[name], 0, len(E_OPS) - 1)

    def key(self, name):  # a known key, or any code as a number
        return self.byte(E_KEYS[name] if isinstance(name, str) else name)

    def down(self, k):
        return self.op("KeyDown").key(k)

    def up(self, k):
        return self.op("KeyUp").key(k)

    def click(self, b):
        return self.op("Click").number(E_BUTTONS[b], 0, len(E_BUTTONS) - 1)

    def wait(self, ms):
        return self.op("Pass").byte(ms)

    def tick(self):
        return self.op("NextTick")

    def draws(self, *rs):
        self.op("Draws").number(len(rs), 1, 4)
        for r in rs:
            self.number(min(int(r * (1 << 24)), (1 << 24) - 1), 0, (1 << 24) - 1)
        return self

    def autoplay(self, ticks, miss=0):
        return self.op("AutoPlay").number(ticks, 1, 40).number(miss, 0, 3)

    def hold(self, k, repeats):
        return self.op("HoldKey").key(k).number(repeats, 1, 8)


def engine_seeds():
    s = {}
    g = EngineGame(1).down("Left").wait(100).up("Left")
    for _ in range(4):
        g.autoplay(40)
    s["serve_then_autoplay"] = g
    g = EngineGame(2)
    for _ in range(5):
        g.autoplay(40, miss=1)
    s["lose_every_ball"] = g.click("gameover")
    s["pause_and_resume"] = (EngineGame(3).down("Right").up("Right").wait(250).down("P").up("P").wait(250)
                             .click("pause").wait(250).down("P").click("pause"))
    s["function_keys"] = (EngineGame(4).down("F1").wait(100).down("F2").up("F2").autoplay(20).down("F1")
                          .down("F1").down("F1").down("F1").down("F1").wait(200))
    s["held_keys"] = (EngineGame(5).hold("Space", 8).hold("Left", 8).hold("Up", 8).down("Space").hold("Right", 8)
                      .hold("Down", 8).up("Space").tick().tick())
    s["edge_draws"] = (EngineGame(6, draw=0.0).draws(0.0, 0.999999, 0.0, 0.999999).down("Left").up("Left")
                       .draws(0.999999, 0.999999).autoplay(40).draws(0.0, 0.0).autoplay(40))
    s["stray_keys_and_clicks"] = (EngineGame(7).down(200).up(16).down(255).click("none").click("form")
                                  .click("gameover").click("nextlevel").click("pause").down(0).wait(30))
    s["between_ticks"] = EngineGame(8).down("Up").wait(1).wait(7).wait(13).up("Up").down("Left").wait(24).wait(1)
    return s


def engine_dict():
    def op(*parts):
        g = Input()
        for p in parts:
            g.read += p
        return g.data()

    o = lambda name: [E_OPS[name]]  # noqa: E731
    tokens = {}
    for k, v in E_KEYS.items():
        tokens[f"down_{k}"] = op(o("KeyDown"), [v])
        tokens[f"up_{k}"] = op(o("KeyUp"), [v])
    for b, v in E_BUTTONS.items():
        tokens[f"click_{b}"] = op(o("Click"), [v])
    tokens["tick"] = op(o("Pass"), [25])
    tokens["second"] = op(o("Pass"), [255]) * 4
    tokens["autoplay"] = op(o("AutoPlay"), [39, 0])
    tokens["autoplay_missing"] = op(o("AutoPlay"), [39, 1])
    tokens["hold_space"] = op(o("HoldKey"), [E_KEYS["Space"], 7])
    return tokens


# window_fuzz ---------------------------------------------------------------

W_OPS = dict(KeyDown=0, KeyUp=1, MouseMove=6, MouseDown=9, MouseUp=10, Pass=15, ClickButton=24, Resize=28,
             WindowEvent=29)
W_OP_COUNT = 32
W_KEYS = dict(Left=0, Right=1, Up=2, Down=3, Space=4, p=5, F1=6, F2=7, a=8, LShift=9, KP4=10, Escape=11)
W_BUTTONS = dict(pause=0, gameover=1, nextlevel=2)
W_WINDOW_EVENTS = dict(size_changed=0, resized=1, exposed=2, close=3)


class WindowGame(Input):
    def __init__(self, seed, draw=128):
        super().__init__()
        self.uint32(seed).byte(draw)

    def op(self, name):
        return self.number(W_OPS[name], 0, W_OP_COUNT - 1)

    def key(self, down, k, repeat=False):
        self.op("KeyDown" if down else "KeyUp")
        if isinstance(k, str):
            self.byte(1).number(W_KEYS[k], 0, len(W_KEYS) - 1)
        else:
            self.byte(0).int32(k)
        return self.number(0, 0, 65535).byte(int(repeat))

    def press(self, k):
        return self.key(True, k).key(False, k)

    def at(self, x, y):  # positions anywhere an int reaches
        return self.byte(0).int32(x).byte(0).int32(y)

    def move(self, x, y):
        return self.op("MouseMove").at(x, y)

    def mouse(self, down, x, y, button=None):
        self.op("MouseDown" if down else "MouseUp")
        self.byte(1) if button is None else self.byte(0).byte(button)
        return self.at(x, y)

    def click(self, b):
        return self.op("ClickButton").number(W_BUTTONS[b], 0, len(W_BUTTONS) - 1)

    def wait(self, ms):
        return self.op("Pass").number(ms, 1, 255)

    def side(self, v):
        bits = v.bit_length()
        self.byte(0).number(bits, 0, 15)  # the wide range: up to 32767
        return self.number(v, 1 << bits >> 1, (1 << bits) - 1) if bits else self

    def resize(self, w, h):
        return self.op("Resize").side(w).side(h)

    def event(self, name, data1=0, data2=0):
        return (self.op("WindowEvent").number(W_WINDOW_EVENTS[name], 0, len(W_WINDOW_EVENTS) - 1).int32(data1)
                .int32(data2))


def window_seeds():
    s = {}
    s["serve_and_play"] = WindowGame(1).key(True, "Left").wait(100).key(False, "Left").wait(200)
    s["pause_by_key_resume_by_click"] = (WindowGame(2).press("Right").wait(60).press("p").wait(30).click("pause")
                                         .wait(30).press("p").wait(30))
    s["press_drag_release"] = (WindowGame(3).press("p").wait(30).click("pause").press("p").wait(25)
                               .mouse(True, 73, 109).move(-10, -10).move(73, 109).move(1 << 30, -(1 << 30))
                               .mouse(False, 73, 109).wait(25))
    s["mouse_anywhere"] = (WindowGame(4).mouse(True, -1, -1).mouse(False, 2**31 - 1, -(2**31)).move(207, 271)
                           .mouse(True, 100, 100, button=3).mouse(False, 100, 100, button=200).wait(50))
    s["resize_tiny_and_huge"] = (WindowGame(5).resize(1, 1).wait(30).resize(32767, 8).wait(30).resize(3, 4000)
                                 .wait(30).resize(500, 400).wait(30))
    s["window_events"] = (WindowGame(6).event("size_changed", -5, 1 << 30).wait(25).event("exposed").event(
        "resized", 0, 0).wait(25).event("close"))
    s["stray_keys"] = (WindowGame(7).key(True, 0x40000000 | 0x1FF).key(False, -1).key(True, "Escape")
                       .key(True, "a", repeat=True).key(True, "KP4").key(False, "KP4").key(True, "LShift")
                       .key(True, 2**31 - 1).press("F1").wait(40).press("F2").wait(40))
    return s


def window_dict():
    tokens = {}
    for k in ("Left", "Right", "Up", "Down", "Space", "p", "F1", "F2"):
        tokens[f"press_{k}"] = WindowGame(0).press(k).data()[:-5]
    for b in W_BUTTONS:
        tokens[f"click_{b}"] = WindowGame(0).click(b).data()[:-5]
    tokens["tick"] = WindowGame(0).wait(25).data()[:-5]
    tokens["resize_1x1"] = WindowGame(0).resize(1, 1).data()[:-5]
    return tokens


def write(target, seeds, tokens):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for old in os.listdir(folder):
        os.remove(os.path.join(folder, old))
    for name, game in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(game.data())
    with open(os.path.join(HERE, f"{target}.dict"), "w") as f:
        f.write(f"# {target}: operations with their arguments, as the target reads them (written by seeds.py)\n")
        for name, data in tokens.items():
            escaped = "".join("\\x%02x" % b for b in data)
            f.write(f'{name}="{escaped}"\n')


if __name__ == "__main__":
    write("engine_fuzz", engine_seeds(), engine_dict())
    write("window_fuzz", window_seeds(), window_dict())
