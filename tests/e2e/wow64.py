"""Where the released 32-bit build runs as 64-bit Windows runs it: a WOW64
prefix (WINEARCH=win64), with 32-bit programs started through Wine's 32-bit
loader.

That loader is a 32-bit Linux program. Where the kernel runs 32-bit code, it
runs natively. Where it does not (a kernel booted with its IA-32 emulation
off), qemu-i386 runs it, registered for 32-bit x86 programs in a binfmt_misc
of a user and mount namespace of our own: Linux 6.7 and later give each user
namespace its own, so nothing outside the tests runs through the emulator and
nothing needs undoing. Where neither works, the x86-64 build under 64-bit Wine
is the last resort (the wine64 preset), and the tests of the 32-bit build say
why they were skipped.

The way is decided by really starting a 32-bit Windows program in the prefix:
`wine --version` proves nothing (a machine-wide qemu 7.2 registration lets the
32-bit loader answer, and then every 32-bit process fails).

    python3 wow64.py way                 prints native, emulated or "none: why"
    python3 wow64.py run -- COMMAND...   runs COMMAND where 32-bit programs run

`run` exports POSTPONE_WOW64 (the way, or "none: why") for the harness; when
it is set already, that way is taken without looking again (set it to
"emulated" to try the emulator on a machine that runs 32-bit code itself).
"""
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
BUILD = os.path.abspath(os.environ.get("POSTPONE_BUILD", os.path.join(HERE, "..", "..", "build", "win32")))
PREFIX = os.environ.get("WINEPREFIX", os.path.join(BUILD, "wineprefix"))
PROBE_EXE = os.path.join(BUILD, "tests", "e2e", "probe.exe")
QEMU = os.environ.get("POSTPONE_QEMU_I386", "/usr/bin/qemu-i386")

# binfmt_misc's rule for i386 ELF executables (and shared objects such as a
# PIE): the ELF magic, 32-bit little-endian, machine 3 (EM_386).
BINFMT_RULE = (r":postpone-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00"
               r":\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:%s:F")
# F: the kernel opens the emulator when the rule is registered, so that it
# is found whatever the program's own mounts and root are.
ENTER_NAMESPACE = ('mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc && '
                   'printf "%s" "$POSTPONE_BINFMT_RULE" > /proc/sys/fs/binfmt_misc/register && exec "$@"')


def in_namespace(command):
    """`command` in a user and mount namespace of its own in which qemu-i386
    runs 32-bit x86 programs."""
    return ["unshare", "--user", "--map-root-user", "--mount", "--propagation", "private", "--fork",
            "sh", "-c", ENTER_NAMESPACE, "sh"] + list(command)


def namespace_env(env):
    return dict(env, POSTPONE_BINFMT_RULE=BINFMT_RULE % QEMU)


# No Mono or Gecko to install; and no debugger: a Wine service of the 64-bit
# side that crashes now and then at a prefix's start (a page fault in a 64-bit
# process, seen once in a few hundred starts) would otherwise start winedbg,
# which holds the test's output open until its time-out.
DLL_OVERRIDES = "mscoree,mshtml=;winedbg.exe=d"


def wine_env(prefix, extra=None):
    env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all", LANG="C.UTF-8", WINEDLLOVERRIDES=DLL_OVERRIDES)
    env.pop("DISPLAY", None)
    env.update(extra or {})
    return env


def make_prefix(prefix, wrap=list, env_of=lambda env: env):
    """A WOW64 prefix at `prefix`, made once: 64-bit Wine, with SysWOW64 for
    32-bit programs."""
    if os.path.exists(os.path.join(prefix, "system.reg")):
        return
    env = env_of(wine_env(prefix, {"WINEARCH": "win64"}))
    subprocess.run(wrap(["wineboot", "-i"]), env=env, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=300)
    subprocess.run(wrap(["wineserver", "-w"]), env=env, check=True, timeout=300)


def why_32bit_fails(wrap=list, env_of=lambda env: env):
    """None when a 32-bit Windows program starts in the prefix and ends with
    the exit code it was given; else what went wrong."""
    if not os.path.exists(PROBE_EXE):
        return "no %s: build the win32 preset first" % PROBE_EXE
    try:
        make_prefix(PREFIX, wrap, env_of)
    except (OSError, subprocess.SubprocessError) as error:
        return "the WOW64 prefix could not be made (%s)" % error
    scratch = tempfile.mkdtemp(prefix="postpone-wow64-")
    try:
        log = os.path.join(scratch, "probe.log")
        env = env_of(wine_env(PREFIX, {"PROBE_EXIT": "77", "PROBE_LOG": "Z:" + log.replace("/", "\\")}))
        try:
            done = subprocess.run(wrap(["wine", PROBE_EXE]), env=env, capture_output=True, timeout=120)
        except (OSError, subprocess.TimeoutExpired) as error:
            return "a 32-bit program did not start (%s)" % error
        if done.returncode == 77 and os.path.exists(log):
            return None
        said = done.stderr.decode("latin-1").strip().splitlines()
        return "a 32-bit program ended with %d (%s)" % (done.returncode, said[-1] if said else "nothing said")
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def find_way():
    """("native" | "emulated" | "none", why the others did not work)."""
    why_native = why_32bit_fails()
    if why_native is None:
        return "native", ""
    if not os.access(QEMU, os.X_OK):
        return "none", "natively: %s; no %s to emulate it (scripts/setup.sh installs it)" % (why_native, QEMU)
    why_emulated = why_32bit_fails(in_namespace, namespace_env)
    if why_emulated is None:
        return "emulated", "natively: " + why_native
    return "none", "natively: %s; through %s in a namespace of its own: %s" % (why_native, QEMU, why_emulated)


def way_from_environment():
    way = os.environ.get("POSTPONE_WOW64", "")
    if way.startswith("none"):
        return "none", way.partition(":")[2].strip()
    return (way, "asked for by POSTPONE_WOW64") if way in ("native", "emulated") else None


def main(arguments):
    if not arguments or arguments[0] not in ("way", "run"):
        sys.exit(__doc__)
    way, why = way_from_environment() or find_way()
    said = way if way != "none" else "none: " + why
    if arguments[0] == "way":
        print(said)
        return 0
    command = arguments[2:] if arguments[1:2] == ["--"] else arguments[1:]
    env = dict(os.environ, POSTPONE_WOW64=said)
    if "POSTPONE_BINFMT_RULE" in os.environ:  # inside the namespace already
        return subprocess.run(command, env=env).returncode
    what = "the 32-bit build of %s (Postpone.exe, postpone-check.exe) runs in the WOW64 prefix %s" % (BUILD, PREFIX)
    if way == "native":
        print("wow64: %s, natively" % what, flush=True)
    elif way == "emulated":
        print("wow64: %s through %s, registered for 32-bit programs in a binfmt_misc of a user namespace of its own "
              "(%s)" % (what, QEMU, why), flush=True)
        command, env = in_namespace(command), namespace_env(env)
    else:
        print("wow64: 32-bit Windows programs cannot run here: " + why, flush=True)
    return subprocess.run(command, env=env).returncode


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
