#!/usr/bin/python3
# Reads the running program's accessibility tree over AT-SPI the way a screen reader does, in
# Portuguese, and drives it with real key presses and clicks (xdotool):
#   screen_reader.py <source dir>
# The program is already up on the demo brokers' profile; this script reads the reception (and
# hears its speech bubble announce a new sentence) and the broker form, opens the demo Kafka broker
# and reads its briefing, reads a topic and its case notes, selects a message, searches, walks the
# focus with Tab, opens the broker popover, the position menu, the produce and ask sheets and, when
# the demo runs on a real broker (TESSARON_TEST_KAFKA_BOOTSTRAP), a consumer group's screen and the
# sheet that moves its position; last the Settings window, section by section. It prints what a
# reader hears on each, and exits 0 when everything held, 1 with the list of faults.
import os
import re
import subprocess
import sys
import time
from pathlib import Path

import pyatspi
from gi.repository import GLib

SOURCE = Path(sys.argv[1])
ISOLATE = ("\u2068", "\u2069")
CONTROLS = {
    "push button", "toggle button", "check box", "radio button", "menu item", "check menu item",
    "radio menu item", "list item", "combo box", "text", "password text", "spin button", "slider",
    "page tab", "link", "entry", "table cell",
}
faults = []


def fault(text):
    faults.append(text)
    print("FAULT: " + text, flush=True)


# ---- the interface's words: the English keys and their Portuguese rows

LITERALS = r'((?:"(?:[^"\\]|\\.)*"\s*)+)'


def unescape(literals):
    text = "".join(re.findall(r'"((?:[^"\\]|\\.)*)"', literals))
    return re.sub(r'\\(u[0-9a-fA-F]{4}|.)',
                  lambda m: chr(int(m.group(1)[1:], 16)) if m.group(1)[0] == "u" and len(m.group(1)) == 5
                  else {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), text)


rows = {}
for table in sorted((SOURCE / "TessaronCore/l10n").glob("L10nRows*.cpp")):
    for english, portuguese in re.findall(r"\{\s*" + LITERALS + r",\s*" + LITERALS + r"\}", table.read_text()):
        rows[unescape(english)] = unescape(portuguese)
if len(rows) < 500:
    print(f"only {len(rows)} rows read from the tables", file=sys.stderr)
    sys.exit(1)


def pt(english, *names):
    text = rows[english]
    for name in names:
        text = text.replace("%@", name, 1)
    return text


PLACEHOLDER = re.compile(r"%(?:lld|ld|d|@|s|\d)")
# An English text shown where the interface speaks Portuguese; a key whose words the Portuguese
# row keeps ("Broker", "O broker"), or too short to tell, says nothing.
untranslated_exact = {k for k, v in rows.items() if k.lower() not in v.lower() and not PLACEHOLDER.search(k)
                      and re.search(r"[a-z]{3}", k)}
untranslated_patterns = []
for k, v in rows.items():
    if k.lower() in v.lower() or not PLACEHOLDER.search(k) \
            or len(re.sub(r"[^A-Za-z]", "", PLACEHOLDER.sub("", k))) < 8:
        continue
    parts = PLACEHOLDER.split(k)
    untranslated_patterns.append(re.compile("(?s)" + ".+?".join(re.escape(p) for p in parts)))
portuguese_words = set(rows.values())


# ---- reading the tree

def plain(text):
    return "".join(c for c in (text or "") if c not in ISOLATE).strip()


def states(o):
    try:
        return o.getState()
    except Exception:
        return None


def has(o, state):
    s = states(o)
    return bool(s and s.contains(state))


def children(o):
    for i in range(o.childCount):
        c = o.getChildAtIndex(i)
        if c is not None:
            yield c


def showing(root):
    # The objects on screen: a hidden branch is skipped whole.
    if not has(root, pyatspi.STATE_SHOWING):
        return
    yield root
    for c in children(root):
        yield from showing(c)


def find(root, predicate, wait=10.0):
    end = time.time() + wait
    while True:
        for o in showing(root):
            try:
                if predicate(o):
                    return o
            except Exception:
                pass
        if time.time() > end:
            return None
        pump(0.2)


def describe(o):
    try:
        return f"{o.getRoleName()} '{plain(o.name)}'"
    except Exception as error:
        return f"(gone: {error})"


def extents(o):
    return o.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


# ---- events: what a screen reader hears as the focus moves

focus_events = []


def on_focus(event):
    if event.detail1 == 1:
        focus_events.append(event.source)


pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")

# What is announced without the focus moving: a new name, as the speech bubble's sentence.
name_events = []


def on_name(event):
    try:
        name_events.append((event.source.getRoleName(), plain(event.source.name)))
    except Exception:
        pass


pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")


def pump(seconds):
    context = GLib.MainContext.default()
    end = time.time() + seconds
    while time.time() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def key(name, settle=0.5):
    focus_events.clear()
    subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True)
    pump(settle)
    return focus_events[-1] if focus_events else None


def click(o, settle=0.8):
    x, y, w, h = extents(o)
    focus_events.clear()
    subprocess.run(["xdotool", "mousemove", str(x + w // 2), str(y + h // 2), "click", "1"], check=True)
    pump(settle)


def press(o, settle=0.8):
    actions = o.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if "Press" not in names:
        fault(f"{describe(o)} offers no Press action, only {names}")
        return
    focus_events.clear()
    actions.doAction(names.index("Press"))
    pump(settle)


# ---- what every screen must hold

def check_screen(where, root):
    """Every control on screen has a name; nothing speaks English; chrome is named in Portuguese."""
    seen = 0
    for o in showing(root):
        seen += 1
        role = o.getRoleName()
        name, description = plain(o.name), plain(o.description)
        if (role in CONTROLS or has(o, pyatspi.STATE_FOCUSABLE)) and not name:
            # A list row or a text field may be reached as part of a named whole.
            if not (role == "text" and plain(o.parent.name)):
                fault(f"{where}: a {role} on screen has no name (at {tuple(extents(o))})")
        if role in ("unknown", "panel") and has(o, pyatspi.STATE_FOCUSABLE):
            fault(f"{where}: a focusable object without a role: {describe(o)}")
        for text in (name, description):
            if text in untranslated_exact or any(p.fullmatch(text) for p in untranslated_patterns):
                fault(f"{where}: {role} reads English: '{text}'")
        if role in ("list", "page tab list", "menu bar", "tool bar") and name and name not in portuguese_words:
            fault(f"{where}: the {role} is named '{name}', not a word of the interface")
    for o in unread(root):
        x, y, w, h = extents(o)
        fault(f"{where}: something {w}×{h} is drawn at {x},{y} and nothing of it is read")
    if seen < 10:
        fault(f"{where}: only {seen} objects on screen")


def covers(outer, inner):
    return (outer[0] <= inner[0] and outer[1] <= inner[1] and outer[0] + outer[2] >= inner[0] + inner[2]
            and outer[1] + outer[3] >= inner[1] + inner[3])


def unread(root, inside_named=False):
    """Drawn areas the tree says nothing about: a nameless, childless container big enough to hold
    a line of text. A named control's own drawing is read as its name, a text field's viewport
    through the field's text, and an icon is too small to count."""
    if not has(root, pyatspi.STATE_SHOWING):
        return
    role = root.getRoleName()
    named = inside_named or (role in CONTROLS and bool(plain(root.name)))
    if role in ("filler", "panel", "unknown") and root.childCount == 0 and not plain(root.name) and not named:
        if root.parent.getRoleName() not in ("text", "entry"):
            x, y, w, h = extents(root)
            # A highlight lying wholly under a named control is that control's drawing.
            under = any(c.getRoleName() in CONTROLS and plain(c.name) and covers(extents(c), (x, y, w, h))
                        for c in children(root.parent) if has(c, pyatspi.STATE_SHOWING))
            if w >= 48 and h >= 12 and not under:
                yield root
    for c in children(root):
        yield from unread(c, named)


def open_sheet():
    for _ in range(25):
        sheet = next((w for w in children(app) if w.getRoleName() == "dialog" and has(w, pyatspi.STATE_SHOWING)), None)
        if sheet:
            pump(0.5)
            return sheet
        pump(0.2)
    return None


def sheet_closes(where):
    key("Escape", settle=0.8)
    if any(w.getRoleName() == "dialog" and has(w, pyatspi.STATE_SHOWING) for w in children(app)):
        fault(f"{where}: Escape did not close it")


def focused_leaf(o):
    return o is not None and has(o, pyatspi.STATE_SHOWING) and plain(o.name)


def tab_round(where, times=4):
    for _ in range(times):
        now = key("Tab", settle=0.3)
        if not focused_leaf(now):
            fault(f"{where}: Tab is heard as {describe(now) if now else 'nothing'}")
            return


def button(root, name, wait=1.0):
    return find(root, lambda o: o.getRoleName() == "push button" and plain(o.name) == name, wait=wait)


def chosen(root):
    return [plain(o.name) for o in showing(root) if o.getRoleName() == "push button"
            and has(o, pyatspi.STATE_SELECTED) and has(o, pyatspi.STATE_CHECKED)]


# ---- what was heard, for the summary at the end

heard_on = {}


def short(items, most=6):
    items = [i[:48] + ("…" if len(i) > 48 else "") for i in items]
    return ", ".join(items[:most]) + (f" (+{len(items) - most} more)" if len(items) > most else "")


def hears(where, root, extra=""):
    """What a reader walking the screen hears, shortened: its name, headings, fields, buttons and
    the choices read as chosen."""
    heads, fields, buttons = [], [], []
    for o in showing(root):
        role, name = o.getRoleName(), plain(o.name)
        if not name:
            continue
        if role == "heading":
            heads.append(name)
        elif role in ("text", "entry", "password text", "slider", "check box", "spin button"):
            fields.append(f"{role} '{name}'")
        elif role in ("push button", "toggle button", "page tab", "list item", "link"):
            buttons.append(name)
    text = f"{root.getRoleName()} '{plain(root.name)}'"
    for label, items in (("headings", heads), ("fields", fields), ("chosen", chosen(root)), ("buttons", buttons)):
        if items:
            text += f"; {label}: {short(items)}"
    heard_on[where] = text + (f"; {extra}" if extra else "")


# ---- the flow

started = time.time()
desktop = pyatspi.Registry.getDesktop(0)
app = None
for _ in range(100):
    app = next((a for a in desktop if a is not None and a.name == "tessaron-mq"), None)
    if app:
        break
    time.sleep(0.2)
if not app:
    print("the program never showed up on the accessibility bus", file=sys.stderr)
    sys.exit(1)
frame = next((w for w in children(app) if w.getRoleName() == "frame"), None)

# The reception.
open_button = find(app, lambda o: o.getRoleName() == "push button" and plain(o.name) == pt("Open"))
if not open_button:
    fault("reception: no 'Open' button on the broker card")
    sys.exit(1)
check_screen("reception", frame)
bubble = find(frame, lambda o: o.getRoleName() == "notification", wait=1)
if not bubble or not plain(bubble.name):
    fault("reception: the mascot's sentence is not a notification with its text")
# A boop brings a new sentence in a new bubble: announced as it is shown, without the focus moving.
boop = button(frame, pt("Give Tessaron a boop"))
if boop:
    name_events.clear()
    press(boop, settle=1.0)
    said = [name for role, name in name_events if role == "notification"]
    if pt("Boop noted.") not in said:
        fault(f"reception: after a boop the notifications announced are {said}, not '{pt('Boop noted.')}'")
    print("bubble: announced", said, flush=True)
else:
    fault("reception: no boop button")
hears("reception", frame, f"the bubble announces '{pt('Boop noted.')}'")

# The broker form: its choices (kind, security) read which one is chosen as a state.
add = find(frame, lambda o: o.getRoleName() == "push button" and plain(o.name) == pt("Add a broker"), wait=1)
if add:
    press(add)
    form = open_sheet()
    if not form:
        fault("broker form: 'Add a broker' opened no dialog")
    else:
        check_screen("broker form", form)
        if len(chosen(form)) < 2:
            fault(f"broker form: the chosen kind and security read as {chosen(form)}")
        hears("broker form", form)
        sheet_closes("broker form")
else:
    fault("reception: no 'Add a broker' button")

# The workspace.
# Below the fold in Portuguese: pressed the way a screen reader presses it.
press(open_button)
topic = find(frame, lambda o: o.getRoleName() == "list item" and plain(o.name) == "orders")
if not topic:
    fault("workspace: the sidebar does not list the topic 'orders'")
    sys.exit(1)
sidebar = topic.parent
if plain(sidebar.name) != pt("Sidebar"):
    fault(f"workspace: the sidebar is named '{plain(sidebar.name)}'")
tab = find(frame, lambda o: o.getRoleName() == "page tab", wait=1)
if not tab or not has(tab, pyatspi.STATE_SELECTED):
    fault("workspace: the open broker's tab is not a selected page tab")
check_screen("workspace", frame)
# Before a topic is chosen the broker's briefing: one named page, headed by the broker's name, each
# topic it points at a button naming it.
briefing = find(frame, lambda o: plain(o.name) == pt("Arrival report"), wait=5)
if not briefing:
    fault("briefing: no page named '" + pt("Arrival report") + "'")
else:
    heading = find(briefing, lambda o: o.getRoleName() == "heading", wait=1)
    if not heading or not plain(heading.name).startswith("Demo Kafka"):
        fault(f"briefing: the heading reads {describe(heading) if heading else 'nothing'}")
    if not button(briefing, "orders.DLQ"):
        fault("briefing: the dead-letter topic it points at is no button named 'orders.DLQ'")
    hears("briefing", briefing)
hears("workspace", frame)

# A topic's messages: each row reads as its number, key and preview.
click(topic)
messages = find(frame, lambda o: o.getRoleName() == "list" and plain(o.name) == pt("Messages") and o.childCount > 3)
if not messages:
    fault("browser: no message list with rows")
    sys.exit(1)
ROW = re.compile(r"(\d+), (?:chave \u2068(.*?)\u2069|sem chave|uma chave que não é texto), \u2068(.*)\u2069", re.S)
rows_shown = [o for o in children(messages) if has(o, pyatspi.STATE_SHOWING)]
parsed = []
for index, row in enumerate(rows_shown):
    match = ROW.fullmatch(row.name or "")
    if not match or int(match.group(1)) != index + 1 or not match.group(3):
        fault(f"browser: row {index + 1} reads '{row.name}', not its number, key and preview")
        continue
    parsed.append((row, match.group(2), match.group(3)))
    if index < 2:
        print(f"row: {plain(row.name)[:90]} ({plain(row.description)})", flush=True)
    if not plain(row.description):
        fault(f"browser: row {index + 1} says nothing of where and when")
check_screen("browser", frame)
# Before a message is chosen, the topic's case notes: headed by the topic, each message it points
# at a button reading its key and place, which are a row's.
notes = find(frame, lambda o: plain(o.name) == pt("Case notes"), wait=3)
if not notes:
    fault("case notes: no page named '" + pt("Case notes") + "'")
else:
    heading = find(notes, lambda o: o.getRoleName() == "heading", wait=1)
    if not heading or not plain(heading.name).startswith("orders"):
        fault(f"case notes: the heading reads {describe(heading) if heading else 'nothing'}")
    links = [o for o in showing(notes) if o.getRoleName() == "push button"]
    if not links:
        fault("case notes: no message is pointed at")
    for link in links[:3]:
        place = re.fullmatch(r"(\S+) p(\d+)·(\d+)", plain(link.name))
        pointed = place and [r for r in children(messages)
                             if f"chave {ISOLATE[0]}{place.group(1)}{ISOLATE[1]}" in (r.name or "")
                             and re.search(rf"\bp{place.group(2)}\D+{place.group(3)}\b", plain(r.description))]
        if not pointed:
            fault(f"case notes: {describe(link)} names no message of the list")
    hears("case notes", notes)

# Selecting a row: the row is selected, the exhibit shows what the row said.
if len(parsed) >= 3:
    row, row_key, preview = parsed[2]
    click(row)
    selected = [o for o in children(messages) if has(o, pyatspi.STATE_SELECTED)]
    if [plain(o.name) for o in selected] != [plain(row.name)]:
        fault(f"browser: selected rows after a click are {[describe(o) for o in selected]}")
    record = find(frame, lambda o: o.getRoleName() == "text" and plain(o.name) == pt("The record"))
    if not record:
        fault("exhibit: the record's text is not in the tree")
    else:
        text = record.queryText().getText(0, -1)
        # The record is laid out, the row's preview is the payload's first line as sent.
        if not re.sub(r"\s", "", text).startswith(re.sub(r"\s", "", preview)):
            fault(f"exhibit: the record reads '{text[:60]}', the row promised '{preview[:60]}'")
    if row_key and not find(frame, lambda o: o.getRoleName() == "label" and plain(o.name) == row_key, wait=1):
        fault(f"exhibit: the key '{row_key}' is not read")
    check_screen("exhibit", frame)
    facts = [plain(o.name) for o in showing(record.parent.parent) if o.getRoleName() == "label"][:6] if record else []
    heard_on["a message row"] = (f"list item '{plain(row.name)[:70]}…', description '{plain(row.description)}', "
                                 "selected")
    heard_on["the exhibit"] = (f"labels: {short(facts)}; text '{pt('The record')}' reads the payload, "
                               f"'{re.sub(chr(10) + '|  +', ' ', text)[:50]}…'" if record else "nothing")
    # The arrow keys move the selection, and the focus with it.
    after = key("Down")
    if not after or not plain(after.name).startswith("4, ") or not has(after, pyatspi.STATE_SELECTED):
        fault(f"browser: Down from row 3 is heard as {describe(after) if after else 'nothing'}")

    # A search renumbers the rows; the reader hears the rows now shown, not the ones before.
    search = find(frame, lambda o: o.getRoleName() == "text" and plain(o.name) == pt("Find in these messages"))
    if search:
        click(search, settle=0.2)
        subprocess.run(["xdotool", "type", "--delay", "20", row_key or "ord-"], check=True)
        pump(1.0)
        # The list may keep its scroll position: the first row found can be above the fold.
        found = list(children(messages))
        first = ROW.fullmatch(found[0].name or "") if found else None
        if not first or first.group(1) != "1" or (row_key and first.group(2) != row_key):
            fault(f"search: the first row found reads {describe(found[0]) if found else 'nothing'}")
    else:
        fault("browser: no search field")

# The focus follows Tab, and every stop says what it is.
heard = []
for _ in range(10):
    now = key("Tab", settle=0.4)
    if not focused_leaf(now):
        fault(f"Tab: after {[h for h in heard]} the focus is heard as {describe(now) if now else 'nothing'}")
        break
    heard.append(describe(now))
print("Tab:", " → ".join(heard), flush=True)
if len(set(heard)) < min(len(heard), 5):
    fault(f"Tab: the focus does not move on: {heard}")

# The broker popover: the broker on screen is the selected, checked row.
chip = find(frame, lambda o: o.getRoleName() == "push button" and plain(o.name).endswith(": Demo Kafka"))
if chip:
    click(chip)
    row = key("Tab")
    if not row or not plain(row.name) or not has(row, pyatspi.STATE_SELECTED) or not has(row, pyatspi.STATE_CHECKED):
        fault(f"popover: the current broker's row is heard as {describe(row) if row else 'nothing'}, not selected")
    back = key("Escape")
    if not back or plain(back.name) != plain(chip.name):
        fault(f"popover: Escape leaves the focus on {describe(back) if back else 'nothing'}")
else:
    fault("workspace: no broker chip")

# The position menu: the current choice is checked, the other is not.
picker = find(frame, lambda o: o.getRoleName() == "push button" and plain(o.name) == pt("The latest"))
if picker:
    click(picker)
    latest = key("Down")
    beginning = key("Down")
    if not latest or plain(latest.name) != pt("The latest") or not has(latest, pyatspi.STATE_CHECKED):
        fault(f"position menu: the current choice is heard as {describe(latest) if latest else 'nothing'}")
    if not beginning or plain(beginning.name) != pt("The beginning") or has(beginning, pyatspi.STATE_CHECKED):
        fault(f"position menu: the other choice is heard as {describe(beginning) if beginning else 'nothing'}")
    key("Escape")
else:
    fault("browser: no position picker")

# A sheet: a window of its own, named in Portuguese, Tab stays inside, Escape closes it.
file_button = find(frame, lambda o: o.getRoleName() == "push button" and plain(o.name) == pt("File…"))
if file_button:
    click(file_button, settle=1.0)
    sheet = open_sheet()
    if not sheet:
        fault("sheet: 'File…' opened no dialog")
    else:
        check_screen("produce sheet", sheet)
        hears("produce sheet", sheet)
        tab_round("produce sheet")
        sheet_closes("produce sheet")
else:
    fault("workspace: no 'File…' button")

# The ask sheet: offered once the AI tool the script installed is found; the question has the focus.
ask = button(frame, pt("Ask"), wait=10)
if ask:
    press(ask, settle=1.0)
    sheet = open_sheet()
    if not sheet:
        fault("ask sheet: 'Ask' opened no dialog")
    else:
        if plain(sheet.name) != pt("Ask your topic"):
            fault(f"ask sheet: the dialog is named '{plain(sheet.name)}'")
        if not any(plain(o.name) == pt("The question") for o in focus_events):
            fault(f"ask sheet: opening it is heard as {[describe(o) for o in focus_events]}, not the question")
        check_screen("ask sheet", sheet)
        hears("ask sheet", sheet)
        tab_round("ask sheet")
        sheet_closes("ask sheet")
else:
    fault("workspace: no 'Ask' button, though an AI tool is installed")

# A consumer group's screen and the sheet that moves its position: only a real broker has groups.
if os.environ.get("TESSARON_TEST_KAFKA_BOOTSTRAP"):
    group = find(sidebar, lambda o: o.getRoleName() == "list item" and plain(o.name) == "order-fulfilment", wait=10)
    if not group:
        fault("workspace: the sidebar does not list the group 'order-fulfilment'")
    else:
        click(group, settle=1.0)
        heading = find(frame, lambda o: o.getRoleName() == "heading" and plain(o.name).startswith("order-fulfilment"))
        if not heading:
            fault("group screen: no heading naming the group")
        check_screen("group screen", frame)
        named = {name: button(frame, name) for name in (pt("Open the topic %@", "orders"),
                                                        pt("Move the position on %@…", "orders"))}
        for name in [n for n, found in named.items() if not found]:
            fault(f"group screen: no button named '{name}'")
        move = named[pt("Move the position on %@…", "orders")]
        # The cards: a stat reads its value and what it counts, the grid each partition's cells.
        lag = find(frame, lambda o: re.fullmatch(r"[\d.]+ " + re.escape(pt("behind")), plain(o.name)), wait=1)
        if not lag:
            fault(f"group screen: no card reads how far behind the group is ('… {pt('behind')}')")
        grid = find(frame, lambda o: plain(o.name).startswith("p0 — ") and f"{pt('behind')}: " in plain(o.name),
                    wait=1)
        if not grid or not all(f"p{p} — " in plain(grid.name) for p in range(3)):
            fault(f"group screen: the positions are read as {describe(grid) if grid else 'nothing'}")
        if not find(frame, lambda o: plain(o.name) == "fulfilment-worker-1", wait=1):
            fault("group screen: the member reading is not read")
        page = find(frame, lambda o: o.getRoleName() == "filler" and plain(o.name) == "order-fulfilment", wait=1)
        hears("group screen", page or frame, f"positions: '{plain(grid.name)[:80]}…'" if grid else "")
        if move:
            press(move, settle=1.0)
            sheet = open_sheet()
            if not sheet:
                fault("reset sheet: the move button opened no dialog")
            else:
                if plain(sheet.name) != pt("Move the record"):
                    fault(f"reset sheet: the dialog is named '{plain(sheet.name)}'")
                if not find(sheet, lambda o: "order-fulfilment" in plain(o.name), wait=1):
                    fault("reset sheet: the group it moves is not named")
                check_screen("reset sheet", sheet)
                hears("reset sheet", sheet)
                tab_round("reset sheet")
                sheet_closes("reset sheet")
else:
    print("screen reader: no real broker (TESSARON_TEST_KAFKA_BOOTSTRAP), so no consumer groups: the group screen "
          "and the reset sheet are skipped", flush=True)

# The Settings window, from anywhere: the section shown is the rail's chosen button, each section
# reads. A closed sheet leaves the X focus nowhere when no window manager hands it back.
subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Tessaron MQ$", "windowfocus", "--sync"], check=False)
key("ctrl+comma", settle=1.0)
settings = None
for _ in range(25):
    settings = next((w for w in children(app)
                     if plain(w.name) == pt("Settings") and has(w, pyatspi.STATE_SHOWING)), None)
    if settings:
        break
    pump(0.2)
if not settings:
    fault("settings: Ctrl+, opened no window named '" + pt("Settings") + "'")
else:
    pump(0.5)
    rail = [pt(t) for t in ("General", "Artificial intelligence", "About Tessaron")]
    for section in rail:
        entry = button(settings, section)
        if not entry:
            fault(f"settings: no rail button '{section}'")
            continue
        if section != rail[0]:
            press(entry, settle=0.8)
        picked = [c for c in chosen(settings) if c in rail]
        if picked != [section]:
            fault(f"settings: with '{section}' shown the rail reads {picked} as chosen")
        check_screen(f"settings: {section}", settings)
        if section == rail[0]:
            if "Português" not in chosen(settings):
                fault(f"settings: the language chosen is not read: {chosen(settings)}")
            hears("settings window", settings)
    key("Escape", settle=0.8)
    if any(plain(w.name) == pt("Settings") and has(w, pyatspi.STATE_SHOWING) for w in children(app)):
        fault("settings: Escape did not close the window")

print("What a screen reader hears:")
for where, text in heard_on.items():
    print(f"  {where}: {text}")
print(f"screen reader: read in {time.time() - started:.1f} s, {len(faults)} faults", flush=True)
sys.exit(1 if faults else 0)
