#!/usr/bin/python3
# The real program on an Xvfb of its own, read and worked over AT-SPI as a screen reader does,
# from a clip in the list to its output:  dbus-run-session -- atspi_test.py PROGRAM_FOLDER CLIP
import os, shutil, subprocess, sys, tempfile, time

program, clip = sys.argv[1], sys.argv[2]
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    failures.extend([] if ok else [what])
    return ok


def wait_for(find, seconds=30):
    end = time.monotonic() + seconds
    while not (found := find()) and time.monotonic() < end:
        time.sleep(0.2)
    return found or None


def walk(node, depth=0):
    if node is not None and depth < 30:
        yield node
        for child in node:
            yield from walk(child, depth + 1)


def by_role(root, *roles):
    return [n for n in walk(root) if n.getRole() in roles]


def showing(root, name, role=None):
    return next((n for n in walk(root) if n.name == name and (role is None or n.getRole() == role)
                 and n.getState().contains(pyatspi.STATE_SHOWING)), None)


def act(root, name):
    button = wait_for(lambda: showing(root, name, pyatspi.ROLE_PUSH_BUTTON), 10)
    check(button is not None, "the button " + name)
    if button is not None:
        button.queryAction().doAction(0)


home = tempfile.mkdtemp(prefix="zelo-atspi-")
xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten",
                         "tcp"], stdout=subprocess.PIPE)
display = ":" + xvfb.stdout.readline().decode().strip()
# The accessibility bus and its registry start on demand with the session bus's environment:
# they must know the display before the first call.
subprocess.run(["dbus-update-activation-environment", "DISPLAY=" + display], check=True)
import pyatspi  # noqa: E402

env = dict(os.environ, DISPLAY=display, HOME=home,
           XDG_CONFIG_HOME=home + "/config", XDG_CACHE_HOME=home + "/cache",
           XDG_RUNTIME_DIR=home, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
os.environ.update(env)
zelo = subprocess.Popen([os.path.join(program, "zelo-converter"), clip], env=env)
try:
    desktop = pyatspi.Registry.getDesktop(0)
    app = wait_for(lambda: next((a for a in desktop if a and a.get_process_id() == zelo.pid), None))
    main = app and wait_for(lambda: showing(app, "Zelo 3GP Converter", pyatspi.ROLE_FRAME))
    if not check(main is not None, "the main window is a frame named by its title"):
        sys.exit(1)
    # The frame shows before the skin dresses it; the slider's thumb and markers are its own.
    named = lambda: [b for b in by_role(main, pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_RADIO_BUTTON,
                                        pyatspi.ROLE_CHECK_BOX)
                     if b.name and b.parent.getRole() != pyatspi.ROLE_SLIDER]
    buttons = wait_for(lambda: len(named()) >= 17 and named()) or named()
    check(len(buttons) >= 17, "%d named buttons: %s" % (len(buttons),
                                                        ", ".join(b.name for b in buttons)))
    check(all(b.queryAction().nActions > 0 for b in buttons), "every button can be pressed")
    sliders = by_role(main, pyatspi.ROLE_SLIDER)
    check(len(sliders) == 1 and sliders[0].queryValue() is not None, "the slider has a value")
    lists = [l for l in by_role(main, pyatspi.ROLE_LIST) if l.parent.getRole() != pyatspi.ROLE_COMBO_BOX]
    if not check(len(lists) == 1 and lists[0].name, "the clip list is a named list"):
        sys.exit(1)

    row = wait_for(lambda: lists[0].childCount >= 1 and lists[0].getChildAtIndex(0))
    check(row and row.name.startswith(os.path.basename(clip)), "the clip's row is named")
    act(main, "Convert every clip in the list")
    progress = wait_for(lambda: showing(app, "Converting"), 15)
    if check(progress is not None, "Convert opens the progress window"):
        bars = by_role(progress, pyatspi.ROLE_PROGRESS_BAR)
        check(len(bars) == 2 and all(b.name for b in bars), "the two bars are named")
        act(progress, "Convert every clip")
        out = os.path.join(home, "ZeloOutput")
        check(wait_for(lambda: bars[1].queryValue().currentValue >= 100 and os.listdir(out), 120),
              "Start (by its action) converts the clip into the output folder")
finally:
    for process in (zelo, xvfb):
        process.kill()
        process.wait(10)
    shutil.rmtree(home, ignore_errors=True)
sys.exit(1 if failures else 0)
