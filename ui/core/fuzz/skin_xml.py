#!/usr/bin/env python3
"""Generates skin XML in the style of the framework's skin files: a window of nested boxes,
labels, buttons, options and events, or a "Global" file of fonts, colours and classes.

As a script: skin_xml.py OUT_FILE SIZE_IN_BYTES writes one window document of about that size."""
import random
import sys

HEADER = '<?xml version="1.0" encoding="UTF-8"?>\n'
WORDS = ["设置", "麦克风", "语音输入", "确定", "取消", "翻译", "标点", "回车", "语言", "口音",
         "Microphone", "Engine", "Accent", "Apply", "Reset & retry", "<Default>", "\"quoted\""]
COLOURS = ["white", "black", "textdefaultcolor", "bk_wnd_darkcolor", "link_blue", "gray_text"]
FONTS = ["system_12", "system_14", "system_bold_14", "default_font_label"]
EVENTS = ["click", "select", "unselect", "mouseenter", "mouseleave", "buttondown", "setfocus"]


def escape(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;").replace('"', "&quot;")


def attrs(pairs):
    return "".join(f' {name}="{escape(str(value))}"' for name, value in pairs)


class Writer:
    def __init__(self, seed):
        self.rng = random.Random(seed)
        self.lines = []
        self.count = 0

    def line(self, depth, text):
        self.lines.append("\t" * depth + text)

    def pick(self, items):
        return self.rng.choice(items)

    def common(self):
        r = self.rng
        self.count += 1
        pairs = [("name", f"ctl_{self.count}"), ("width", self.pick(["stretch", "auto", r.randint(20, 400)])),
                 ("height", self.pick(["auto", r.randint(16, 60)]))]
        if r.random() < 0.5:
            pairs.append(("margin", f"{r.randint(0, 12)},{r.randint(0, 8)},{r.randint(0, 12)},{r.randint(0, 8)}"))
        if r.random() < 0.3:
            pairs.append(("tooltiptext", " ".join(r.sample(WORDS, 2))))
        return pairs

    def leaf(self, depth):
        r = self.rng
        kind = self.pick(["Label", "Button", "Option", "CheckBox", "Control"])
        pairs = self.common()
        if kind in ("Label", "Button", "Option", "CheckBox"):
            pairs += [("text", self.pick(WORDS)), ("font", self.pick(FONTS)),
                      ("normaltextcolor", self.pick(COLOURS)), ("align", self.pick(["left", "center", "right"]))]
        if kind in ("Button", "Option", "CheckBox"):
            pairs += [("normalimage", f"file='btn_{self.count % 7}.png' corner='4,4,4,4'"),
                      ("hotimage", f"file='btn_{self.count % 7}_hot.png' fade='200'"),
                      ("pushedimage", f"btn_{self.count % 7}_pushed.png")]
        if kind == "Option":
            pairs += [("group", f"group_{self.count % 5}"), ("selected", self.pick(["true", "false"]))]
        if kind == "Control":
            pairs += [("bkcolor", self.pick(COLOURS)), ("alpha", r.randint(0, 255))]
        if r.random() < 0.15:
            self.line(depth, f"<{kind}{attrs(pairs)}>")
            target = f"./ctl_{self.count}" if r.random() < 0.5 else f"ctl_{r.randint(1, self.count)}"
            self.line(depth + 1, "<Event" + attrs([("type", " ".join(r.sample(EVENTS, 2))), ("receiver", target),
                                                     ("applyattribute", f'text="{self.pick(WORDS)}"')]) + "/>")
            self.line(depth, f"</{kind}>")
        else:
            self.line(depth, f"<{kind}{attrs(pairs)}/>")

    def box(self, depth, budget):
        r = self.rng
        kind = self.pick(["VBox", "HBox", "Box", "TabBox"])
        pairs = self.common() + [("childmargin", r.randint(0, 10)), ("padding", "4,4,4,4")]
        if r.random() < 0.4:
            pairs.append(("bkcolor", self.pick(COLOURS)))
        self.line(depth, f"<{kind}{attrs(pairs)}>")
        if r.random() < 0.2:
            self.line(depth + 1, f"<!-- {self.pick(WORDS)} section -->")
        for _ in range(r.randint(2, 7)):
            if depth < 12 and r.random() < 0.3 and self.size() < budget:
                self.box(depth + 1, budget)
            else:
                self.leaf(depth + 1)
        if r.random() < 0.1:
            self.line(depth + 1, "<BubbledEvent" + attrs([("type", "select"), ("receiver", f"ctl_{self.count}"),
                                                          ("applyattribute", 'visible="true"')]) + "/>")
        self.line(depth, f"</{kind}>")

    def size(self):
        return sum(len(text.encode()) + 1 for text in self.lines)

    def text(self):
        return (HEADER + "\n".join(self.lines) + "\n").encode()


def window(size, seed=1):
    """A window skin of about `size` bytes (at least one box)."""
    w = Writer(seed)
    w.line(0, '<Window size="640,480" caption="0,0,0,36" sizebox="4,4,4,4" shadowattached="true" '
              'shadowcorner="14,14,14,14" mininfo="400,300" textid="STRING_TITLE">')
    w.line(1, '<Class name="btn_global" value="font=&quot;system_14&quot; normaltextcolor=&quot;white&quot;"/>')
    w.line(1, '<Include source="controls/controls.xml" count="1"/>')
    while True:
        w.box(1, size)
        if w.size() >= size:
            break
    w.line(0, "</Window>")
    return w.text()


def global_resources(fonts=20, colours=60, classes=40, seed=2):
    """A "Global" file declaring fonts, text colours and classes."""
    rng = random.Random(seed)
    lines = [HEADER.rstrip("\n"), '<Global disabledfontcolor="textdefaultdisablecolor" defaultfontcolor="textdefaultcolor">']
    for i in range(fonts):
        lines.append("\t<Font" + attrs([("id", f"font_{i}"), ("name", rng.choice(["system", "微软雅黑", "arial"])),
                                        ("size", rng.randint(9, 24)), ("bold", rng.choice(["true", "false"])),
                                        ("default", "true" if i == 0 else "false")]) + "/>")
    for i in range(colours):
        lines.append("\t<TextColor" + attrs([("name", f"colour_{i}"), ("value", f"#{rng.getrandbits(32):08x}")]) + "/>")
    for i in range(classes):
        lines.append("\t<Class" + attrs([("name", f"class_{i}"), ("value", f'height="{rng.randint(16, 40)}" valign="center"'),
                                         ("_value", str(i)), ("font", rng.choice(FONTS))]) + "/>")
    lines.append("</Global>")
    return ("\n".join(lines) + "\n").encode()


if __name__ == "__main__":
    out, size = sys.argv[1], int(sys.argv[2])
    with open(out, "wb") as f:
        f.write(window(size))
