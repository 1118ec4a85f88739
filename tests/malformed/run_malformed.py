#!/usr/bin/python3
# Malformed-input driver: mutated copies of valid inputs of every kind fed to
# raylen-cli under a memory and a time limit. A case fails on a signal, an
# exit status other than 0/1/2, an output left after a failure (or none after
# a success), a changed input, or a run that hit the memory or time limit.
# Failed cases are saved with their inputs and command for reproduction.
#
# Usage: run_malformed.py CLI WORKDIR [--cases N] [--kind KIND] [--no-address-limit]
import argparse
import hashlib
import os
import random
import resource
import shutil
import signal
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import mutate  # noqa: E402
import seeds  # noqa: E402

MEMORY_LIMIT = 2 << 30   # bytes of address space for each run
TIME_LIMIT = 10.0        # seconds of wall time for each run
OUT_OF_MEMORY = "メモリが不足しています"

# Companion inputs (valid, never mutated) by placeholder.
COMPANIONS = {
    "IMAGE": ("image.fit", seeds.fits_image_f32),
    "PRM": ("ref.prm", seeds.prm_record),
    "DIP": ("disp.dip", seeds.dip),
    "DAT": ("lines.dat", seeds.dat),
    "SNS": ("sens.sns", seeds.sns),
    "LAMP": ("lamp.txt", seeds.text_spectrum),
    "WAVE": ("wave.txt", seeds.wave_text_spectrum),
    "WAVEFITS": ("wave.fits", seeds.fits_spectrum_image),
}


def spectrum_commands(at):
    """Every spectrum command, with X positions from `at(pixel)`."""
    def x(p):
        return "%g" % at(p)
    lines = []
    for row, pixel in enumerate(seeds.LAMP_LINES, 1):
        lines += ["--line", "%d:%s" % (row, x(pixel))]
    return [
        ["dispcor", "IN", "--dip", "DIP", "-o", "OUT/d.txt"],
        ["dispcor", "IN", "--dip", "DIP", "-o", "OUT/d.fits"],
        ["fluxcal", "IN", "--sns", "SNS", "-o", "OUT/f.txt"],
        ["normalize", "IN", "--region", x(2) + ":" + x(7), "--region", x(58) + ":" + x(63), "--order", "1",
         "-o", "OUT/n.txt"],
        ["fft", "IN", "-o", "OUT/fft.txt"],
        ["resample", "IN", "--step", "%g" % (at(2) - at(1)), "-o", "OUT/r.fits"],
        ["gauss", "IN", "--mark", x(20) + ",10", "--mark", x(30) + ",10"],
        ["eqwidth", "IN", "--mark", x(35) + ",10", "--mark", x(45) + ",10"],
        ["plot", "IN", "-o", "OUT/p.png"],
        ["identify", "IN", "--table", "DAT"] + lines + ["-o", "OUT/i.dip"],
    ]


def pixel(p):
    return p


def wave_at(p):
    return seeds.wavelength(p)


IMAGE_COMMANDS = [
    ["header", "IN"],
    ["info", "IN"],
    ["convert", "IN", "-o", "OUT/c.fit"],
    ["render", "IN", "-o", "OUT/r.bmp"],
    ["render", "IN", "--min", "0", "--max", "900", "-o", "OUT/r.bmp"],
    ["cut", "IN", "--x", "0:39", "--y", "8:12", "-o", "OUT/cut.txt"],
    ["extract", "IN", "--x", "0:39", "--y", "2:18", "--sky", "-8:-5,5:8", "-o", "OUT/s.txt"],
    ["extract", "IN", "--ref", "PRM", "-o", "OUT/s.fits"],
    ["darkflat", "IN", "--dark", "IMAGE", "-o", "OUT/d.fit"],
]

LAMP_LINE_MARKS = []
for _row, _pixel in enumerate(seeds.LAMP_LINES, 1):
    LAMP_LINE_MARKS += ["--line", "%d:%d" % (_row, _pixel)]

# kind: (file name of the mutated input, seeds, mutations, commands)
KINDS = {
    "fits_image": ("in.fit", [seeds.fits_image_f32, seeds.fits_image_i16], mutate.FITS_MUTATIONS, IMAGE_COMMANDS),
    "fits_spectrum_image": ("in.fits", [seeds.fits_spectrum_image], mutate.FITS_MUTATIONS,
                            spectrum_commands(wave_at)),
    "fits_spectrum_table": ("in.fits", [seeds.fits_spectrum_table], mutate.TABLE_MUTATIONS,
                            spectrum_commands(wave_at)),
    "text_spectrum": ("in.txt", [seeds.text_spectrum], mutate.TEXT_MUTATIONS, spectrum_commands(pixel)),
    "prm": ("in.prm", [seeds.prm_record], mutate.PRM_MUTATIONS, [
        ["extract", "IMAGE", "--ref", "IN", "-o", "OUT/s.txt"],
        ["extract", "IMAGE", "--ref", "IN", "-o", "OUT/s.fits"],
    ]),
    "dip": ("in.dip", [seeds.dip], mutate.TEXT_MUTATIONS, [
        ["dispcor", "LAMP", "--dip", "IN", "-o", "OUT/d.txt"],
        ["dispcor", "LAMP", "--dip", "IN", "-o", "OUT/d.fits"],
    ]),
    "dat": ("in.dat", [seeds.dat], mutate.TEXT_MUTATIONS, [
        ["identify", "LAMP", "--table", "IN"] + LAMP_LINE_MARKS + ["-o", "OUT/i.dip"],
        ["identify", "LAMP", "--table", "IN"] + LAMP_LINE_MARKS + ["--auto", "-o", "OUT/i.dip"],
        ["identify", "LAMP", "--table", "IN"] + LAMP_LINE_MARKS + ["--measure", "peak", "-o", "OUT/i.dip"],
    ]),
    "sns": ("in.sns", [seeds.sns], mutate.TEXT_MUTATIONS, [
        ["fluxcal", "WAVE", "--sns", "IN", "-o", "OUT/f.txt"],
        ["fluxcal", "WAVEFITS", "--sns", "IN", "-o", "OUT/f.fits"],
    ]),
}


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


class Runner:
    def __init__(self, cli, work, address_limit):
        self.cli = cli
        self.work = work
        self.address_limit = address_limit
        self.companions = os.path.join(work, "companions")
        os.makedirs(self.companions, exist_ok=True)
        self.paths = {}
        for key, (name, make) in COMPANIONS.items():
            path = os.path.join(self.companions, name)
            with open(path, "wb") as f:
                f.write(make())
            self.paths[key] = path
        self.env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        if not address_limit:
            # A sanitizer's report must show as a status the checks refuse;
            # leaks at exit are not what this driver looks for.
            self.env.setdefault("ASAN_OPTIONS", "exitcode=99:detect_leaks=0")
            self.env.setdefault("UBSAN_OPTIONS", "halt_on_error=1:exitcode=98:print_stacktrace=1")
        self.env.setdefault("XDG_RUNTIME_DIR", os.path.join(work, "runtime"))
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700, exist_ok=True)

    def _limits(self):
        if self.address_limit:
            resource.setrlimit(resource.RLIMIT_AS, (MEMORY_LIMIT, MEMORY_LIMIT))
        resource.setrlimit(resource.RLIMIT_CORE, (0, 0))

    def run(self, command, input_name, data):
        """Runs one case; returns (problems, details)."""
        case = os.path.join(self.work, "case")
        shutil.rmtree(case, ignore_errors=True)
        indir, outdir = os.path.join(case, "in"), os.path.join(case, "out")
        os.makedirs(indir)
        os.makedirs(outdir)
        input_path = os.path.join(indir, input_name)
        with open(input_path, "wb") as f:
            f.write(data)
        args, inputs, output = [], [input_path], None
        for a in command:
            if a == "IN":
                a = input_path
            elif a in self.paths:
                a = self.paths[a]
                inputs.append(a)
            elif a.startswith("OUT/"):
                a = output = os.path.join(outdir, a[4:])
            args.append(a)
        before = {p: digest(p) for p in inputs}
        stdout_path, stderr_path = os.path.join(case, "stdout"), os.path.join(case, "stderr")
        with open(stdout_path, "wb") as out, open(stderr_path, "wb") as err:
            started = time.monotonic()
            process = subprocess.Popen([self.cli] + args, stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                       cwd=case, env=self.env, preexec_fn=self._limits, start_new_session=True)
            timed_out = []

            def kill():
                timed_out.append(True)
                os.killpg(process.pid, signal.SIGKILL)
            timer = threading.Timer(TIME_LIMIT, kill)
            timer.start()
            _, status, usage = os.wait4(process.pid, 0)
            timer.cancel()
            process.returncode = 0
            elapsed = time.monotonic() - started
        with open(stderr_path, "rb") as f:
            stderr = f.read().decode("utf-8", "replace")
        problems = []
        if timed_out:
            problems.append("ran over %g s (killed)" % TIME_LIMIT)
        elif os.WIFSIGNALED(status):
            problems.append("killed by signal %d (%s)" % (os.WTERMSIG(status),
                                                           signal.Signals(os.WTERMSIG(status)).name))
        code = os.WEXITSTATUS(status) if os.WIFEXITED(status) else None
        if code is not None and code not in (0, 1, 2):
            problems.append("exit status %d" % code)
        peak = usage.ru_maxrss * 1024
        if peak > MEMORY_LIMIT or OUT_OF_MEMORY in stderr:
            problems.append("ran out of its 2 GB (peak resident %d MB): %s" % (peak >> 20, stderr.strip()[:200]))
        left = sorted(os.listdir(outdir))
        if code != 0 and left:
            problems.append("exit status %s left %s" % (code, left))
        if code == 0 and output is not None and (not os.path.exists(output) or os.path.getsize(output) == 0):
            problems.append("exit status 0 without a non-empty %s" % os.path.basename(output))
        for p, d in before.items():
            if not os.path.exists(p) or digest(p) != d:
                problems.append("input %s changed" % os.path.basename(p))
        return problems, {"args": args, "status": code, "stderr": stderr, "seconds": elapsed, "case": case}


def save_failure(failures_dir, label, details, description, problems, runner):
    target = os.path.join(failures_dir, label)
    shutil.rmtree(target, ignore_errors=True)
    shutil.copytree(os.path.join(details["case"], "in"), os.path.join(target, "in"))
    shutil.copytree(runner.companions, os.path.join(target, "companions"))
    args = [a.replace(details["case"], target).replace(runner.companions, os.path.join(target, "companions"))
            for a in details["args"]]
    args = [a.replace(os.path.join(target, "out"), "out") for a in args]
    with open(os.path.join(target, "README"), "w") as f:
        f.write("mutation: %s\nproblems: %s\nstderr: %s\n" % (description, "; ".join(problems), details["stderr"]))
        f.write("reproduce (from this folder): mkdir -p out && %s %s\n" %
                (runner.cli, " ".join("'%s'" % a for a in args)))
    return target


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("cli")
    parser.add_argument("work")
    parser.add_argument("--cases", type=int, default=200, help="mutated cases per input kind")
    parser.add_argument("--kind", action="append", choices=sorted(KINDS))
    parser.add_argument("--no-address-limit", action="store_true",
                        help="for sanitizer builds, whose shadow memory needs the address space")
    options = parser.parse_args()
    work = os.path.abspath(options.work)
    failures_dir = os.path.join(work, "failures")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(failures_dir)
    runner = Runner(os.path.abspath(options.cli), work, not options.no_address_limit)
    started = time.monotonic()
    failed = total = 0
    for kind in options.kind or KINDS:
        input_name, kind_seeds, operations, commands = KINDS[kind]
        # Every command on the valid seeds first: the cases must reach past the readers.
        for s, make in enumerate(kind_seeds):
            for c, command in enumerate(commands):
                problems, details = runner.run(command, input_name, make())
                if details["status"] != 0:
                    problems.append("the valid seed fails (status %s)" % details["status"])
                if problems:
                    failed += 1
                    label = "%s-seed%d-%s" % (kind, s, command[0])
                    where = save_failure(failures_dir, label, details, "none (valid seed)", problems, runner)
                    print("FAIL %s: %s\n  %s\n  saved in %s" % (label, "; ".join(problems),
                                                                 details["stderr"].strip(), where), flush=True)
        for i in range(options.cases):
            rng = random.Random("%s:%d" % (kind, i))
            make = kind_seeds[i % len(kind_seeds)]
            command = commands[(i // len(kind_seeds)) % len(commands)]
            data, description = mutate.mutate(make(), operations, rng)
            problems, details = runner.run(command, input_name, data)
            total += 1
            if problems:
                failed += 1
                label = "%s-%03d" % (kind, i)
                where = save_failure(failures_dir, label, details, description, problems, runner)
                print("FAIL %s [%s] %s: %s\n  input: %s\n  saved in %s" % (
                    label, kind, command[0], "; ".join(problems), description, where), flush=True)
    seconds = time.monotonic() - started
    print("%d malformed cases over %d input kinds in %.1f s; %d failed" %
          (total, len(options.kind or KINDS), seconds, failed))
    shutil.rmtree(os.path.join(work, "case"), ignore_errors=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
