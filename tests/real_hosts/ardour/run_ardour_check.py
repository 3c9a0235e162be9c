#!/usr/bin/env python3
"""Runs the Veridane bundle in Debian's Ardour, headless, and checks what Ardour sees and saves.

1. Ardour's VST scanner reports Veridane with its maker, channels, editor and category.
2. A session with a 4-in/4-out track carrying the plug-in is saved with a gain set, closed and
   reloaded: the gain comes back and the saved chunk is the plug-in's exact state block.
3. The chunk in the saved session is replaced by a block that selects direction 1; after a reload
   and a new save the plug-in's own block holds direction 1 and the gain.

Usage: run_ardour_check.py BUNDLE. Exits 77 (skipped) when Ardour is not installed. Everything
Ardour writes goes to a private temporary home, removed afterwards (kept with --keep).
"""

import argparse
import base64
import glob
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ElementTree
from pathlib import Path

SKIP_EXIT_CODE = 77
HERE = Path(__file__).resolve().parent

SCAN_TIMEOUT_SECONDS = 60
SESSION_TIMEOUT_SECONDS = 90

SESSION_NAME = "veridane"
GAIN_SET = 0.5
GAIN_TOLERANCE = 1e-6

PLUGIN_NAME = "Veridane"
UNIQUE_ID = 0x50625664
EXPECTED_SCAN = {
    "name": PLUGIN_NAME,
    "creator": "Plumbrook",
    "category": "Spatial",
    "id": str(UNIQUE_ID),
    "n_inputs": "4",
    "n_outputs": "4",
    "has_editor": "1",
    "is_instrument": "0",
}

STATE_MAGIC = 0x21324356
STATE_HEADER = struct.Struct("<II")


class CheckFailed(Exception):
    """A failed step; the message names the step and what was seen."""


def state_text(gain_text, direction):
    return f"<Root><Gain>{gain_text}</Gain><idxInputConfig>{direction}</idxInputConfig></Root>"


def state_block(text):
    """magic, length of the text, the UTF-8 text, a 0 byte."""
    data = text.encode("utf-8")
    return STATE_HEADER.pack(STATE_MAGIC, len(data)) + data + b"\0"


def find_ardour():
    """(scanner, lua interpreter, config folder name) of the installed Ardour, or None."""
    scanners = []
    try:
        listing = subprocess.run(["dpkg", "-L", "ardour"], capture_output=True, text=True,
                                 timeout=30, check=False).stdout
        scanners = [line for line in listing.splitlines() if line.endswith("/ardour-vst-scanner")]
    except (OSError, subprocess.TimeoutExpired):
        pass
    scanners += sorted(glob.glob("/usr/lib/ardour*/ardour-vst-scanner"))
    scanners = [path for path in scanners if os.access(path, os.X_OK)]
    interpreters = [shutil.which(f"ardour{major}-lua") for major in range(9, 5, -1)]
    interpreters = [path for path in interpreters if path]
    if not scanners or not interpreters:
        return None
    major = re.search(r"ardour(\d+)-lua$", interpreters[0]).group(1)
    return Path(scanners[0]), Path(interpreters[0]), f"ardour{major}"


def private_environment(home, vst_folder):
    """A home of its own, no display, and the plug-in folder on Ardour's VST path."""
    env = {key: value for key, value in os.environ.items()
           if key not in ("DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "LXVST_PATH", "VST_PATH",
                          "LD_PRELOAD")}
    env.update({
        "HOME": str(home),
        "XDG_CONFIG_HOME": str(home / "config"),
        "XDG_CACHE_HOME": str(home / "cache"),
        "XDG_DATA_HOME": str(home / "data"),
        "LXVST_PATH": str(vst_folder),
        "LC_ALL": "C.UTF-8",
    })
    return env


def write_config(config_folder):
    # Ardour hides its silent test backend unless told otherwise.
    config_folder.mkdir(parents=True)
    (config_folder / "config").write_text(
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        "<Ardour>\n"
        "  <Config>\n"
        '    <Option name="hide-dummy-backend" value="0"/>\n'
        "  </Config>\n"
        "</Ardour>\n")


def run(step, command, env, timeout, cwd):
    """Runs a command, answers its combined output; a timeout or crash fails the step."""
    started = time.monotonic()
    try:
        result = subprocess.run(command, env=env, cwd=cwd, stdin=subprocess.DEVNULL,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                                errors="replace", timeout=timeout, check=False)
    except subprocess.TimeoutExpired as expired:
        output = expired.output or ""
        if isinstance(output, bytes):
            output = output.decode("utf-8", "replace")
        raise CheckFailed(f"{step}: no answer within {timeout} s\n{tail(output)}") from None
    print(f"[{step}] {Path(command[0]).name} took {time.monotonic() - started:.1f} s")
    return result.returncode, result.stdout


def tail(output, lines=40):
    return "\n".join("    " + line for line in output.splitlines()[-lines:])


def run_lua(step, interpreter, script, arguments, env, cwd):
    code, output = run(step, [str(interpreter), str(HERE / script), *arguments], env,
                       SESSION_TIMEOUT_SECONDS, cwd)
    if code != 0:
        reason = f"killed by signal {-code}" if code < 0 else f"exit code {code}"
        raise CheckFailed(f"{step}: Ardour's Lua session ended with {reason}\n{tail(output)}")
    reports = dict(re.findall(r"^veridane: (\w+)=(.*)$", output, re.MULTILINE))
    if reports.get("backend") != "Dummy":
        raise CheckFailed(f"{step}: expected the silent Dummy backend, got "
                          f"{reports.get('backend')!r}\n{tail(output)}")
    return reports, output


def expect_reports(step, reports, expected, output):
    wrong = {key: reports.get(key) for key, value in expected.items() if reports.get(key) != value}
    if wrong:
        raise CheckFailed(f"{step}: expected {expected}, got {wrong}\n{tail(output)}")


def expect_gain(step, reports, output):
    try:
        gain = float(reports.get("gain", "nan"))
    except ValueError:
        gain = float("nan")
    if not abs(gain - GAIN_SET) <= GAIN_TOLERANCE:
        raise CheckFailed(f"{step}: gain parameter reads {reports.get('gain')!r}, "
                          f"expected {GAIN_SET}\n{tail(output)}")


def check_scan(scanner, bundle, env, cwd):
    step = "step 1, scan"
    scanner_env = dict(env)
    scanner_env["LD_LIBRARY_PATH"] = str(scanner.parent)  # its private libraries live beside it
    # The scanner always exits 0, so only its report counts.
    _, output = run(step, [str(scanner), "--force", "--verbose", str(bundle)], scanner_env,
                    SCAN_TIMEOUT_SECONDS, cwd)
    tags = re.findall(r"<VST2Info\b([^>]*)>", output)
    if len(tags) != 1:
        raise CheckFailed(f"{step}: expected one VST2Info report for {bundle}, got {len(tags)}\n"
                          f"{tail(output)}")
    seen = dict(re.findall(r'(\w+)="([^"]*)"', tags[0]))
    wrong = {key: seen.get(key) for key, value in EXPECTED_SCAN.items() if seen.get(key) != value}
    if wrong:
        raise CheckFailed(f"{step}: expected {EXPECTED_SCAN}, the scanner said {wrong}\n"
                          f"{tail(output)}")
    print(f"[{step}] {tags[0].strip()}")


CHUNK_PATTERN = re.compile(r"(<chunk\b[^>]*>)([^<]*)(</chunk>)")


def read_chunk(step, session_file):
    """The plug-in's chunk bytes from the one Veridane processor in the session file."""
    text = session_file.read_text(encoding="utf-8")
    root = ElementTree.fromstring(text)
    processors = [p for p in root.iter("Processor")
                  if p.get("type") == "lxvst" and p.get("unique-id") == str(UNIQUE_ID)]
    if len(processors) != 1:
        raise CheckFailed(f"{step}: expected one Veridane processor in {session_file.name}, "
                          f"found {len(processors)}")
    chunks = processors[0].findall("./lxvst/chunk")
    if len(chunks) != 1 or len(CHUNK_PATTERN.findall(text)) != 1:
        raise CheckFailed(f"{step}: expected exactly one saved chunk, found {len(chunks)}")
    try:
        return base64.b64decode("".join((chunks[0].text or "").split()), validate=True)
    except ValueError as error:
        raise CheckFailed(f"{step}: the saved chunk is not base64: {error}") from None


def expect_state_block(step, block, text):
    """Checks each field on its own, so a failure says which one is wrong."""
    expected = state_block(text)
    if block == expected:
        return
    problems = []
    if len(block) < STATE_HEADER.size + 1:
        problems.append(f"only {len(block)} bytes")
    else:
        magic, length = STATE_HEADER.unpack_from(block)
        if magic != STATE_MAGIC:
            problems.append(f"magic 0x{magic:08x}, expected 0x{STATE_MAGIC:08x}")
        if length != len(block) - STATE_HEADER.size - 1:
            problems.append(f"length field {length} for a {len(block)}-byte block")
        body = block[STATE_HEADER.size:-1].decode("utf-8", "replace")
        if body != text:
            problems.append(f"text {body!r}, expected {text!r}")
        if block[-1] != 0:
            problems.append(f"last byte 0x{block[-1]:02x}, expected 0")
    problems = problems or ["bytes differ"]
    raise CheckFailed(f"{step}: saved chunk is wrong: {'; '.join(problems)}\n"
                      f"    saved:    {block.hex()}\n    expected: {expected.hex()}")


def replace_chunk(session_file, block):
    text = session_file.read_text(encoding="utf-8")
    encoded = base64.b64encode(block).decode("ascii")
    new_text, count = CHUNK_PATTERN.subn(lambda match: match.group(1) + encoded + match.group(3),
                                         text)
    if count != 1:
        raise CheckFailed(f"step 3, rewrite chunk: expected one chunk, found {count}")
    session_file.write_text(new_text, encoding="utf-8")


def check_session(interpreter, env, work):
    folder = work / "session"
    session_file = folder / f"{SESSION_NAME}.ardour"
    gain_text = f"{GAIN_SET:g}"
    loaded = {"instances": "1", "plugin_inputs": "4", "plugin_outputs": "4"}

    step = "step 2, create session"
    reports, output = run_lua(step, interpreter, "create_session.lua",
                              [str(folder), SESSION_NAME, repr(GAIN_SET)], env, work)
    expect_reports(step, reports, {"track_inputs": "4", "track_outputs": "4", **loaded,
                                   "maker": "Plumbrook", "parameters": "1",
                                   "parameter_name": "Gain", "saved": "yes"}, output)
    expect_gain(step, reports, output)
    expect_state_block("step 2, saved chunk", read_chunk(step, session_file),
                       state_text(gain_text, 0))

    step = "step 2, reload session"
    reports, output = run_lua(step, interpreter, "reload_session.lua",
                              [str(folder), SESSION_NAME, "keep"], env, work)
    expect_reports(step, reports, {**loaded, "closed": "yes"}, output)
    expect_gain(step, reports, output)
    print("[step 2] gain and chunk survive save, close and reload")

    # Laid out with a declaration and line breaks, as other writers of this block do: the plug-in
    # must read it and save its own one-line form, which also shows the chunk saved next is the
    # plug-in's answer and not these bytes handed back.
    rewritten = (f'<?xml version="1.0" encoding="UTF-8"?>\n\n<Root>\n  <Gain>{gain_text}</Gain>\n'
                 "  <idxInputConfig>1</idxInputConfig>\n</Root>\n")
    replace_chunk(session_file, state_block(rewritten))

    step = "step 3, reload and save"
    reports, output = run_lua(step, interpreter, "reload_session.lua",
                              [str(folder), SESSION_NAME, "save"], env, work)
    expect_reports(step, reports, {**loaded, "saved": "yes", "closed": "yes"}, output)
    expect_gain(step, reports, output)
    expect_state_block("step 3, saved chunk", read_chunk(step, session_file),
                       state_text(gain_text, 1))
    print("[step 3] a rewritten chunk selects direction 1 and keeps the gain")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("bundle", type=Path, help="the built Veridane.so")
    parser.add_argument("--keep", action="store_true", help="keep the temporary home")
    options = parser.parse_args()

    ardour = find_ardour()
    if ardour is None:
        print("SKIPPED: Debian's ardour package (ardour-vst-scanner, ardour*-lua) is not installed")
        return SKIP_EXIT_CODE
    scanner, interpreter, config_name = ardour
    bundle = options.bundle.resolve()
    if not bundle.is_file():
        print(f"FAILED: no bundle at {bundle}")
        return 1

    started = time.monotonic()
    work = Path(tempfile.mkdtemp(prefix="veridane-ardour-"))
    try:
        home = work / "home"
        vst_folder = work / "vst"
        vst_folder.mkdir()
        # A folder of its own, so Ardour finds this plug-in and nothing else. Ardour trusts its
        # scan cache only when the cache is newer than the plug-in at one-second resolution, so
        # the copy is dated back.
        plugin = vst_folder / bundle.name
        shutil.copyfile(bundle, plugin)
        plugin.chmod(0o755)
        an_hour_ago = time.time() - 3600
        os.utime(plugin, (an_hour_ago, an_hour_ago))
        env = private_environment(home, vst_folder)
        write_config(home / "config" / config_name)

        check_scan(scanner, plugin, env, work)
        check_session(interpreter, env, work)
    except CheckFailed as failure:
        print(f"FAILED: {failure}")
        if not options.keep:
            print(f"(rerun with --keep to inspect {work})")
        return 1
    finally:
        if options.keep:
            print(f"kept {work}")
        else:
            shutil.rmtree(work, ignore_errors=True)
    print(f"PASSED in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
