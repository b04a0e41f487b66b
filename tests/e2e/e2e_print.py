"""Printing a long list on the real program, under a real X server and window manager, to a real
print queue: a private CUPS server (its own folder and socket, so a system CUPS is never touched)
with one queue, the default, whose device is a file of the test's own. The operator's keys and
clicks go through the X server (xdotool); what reached the printer is read from the queue.

Needs root (cupsd) and the packages cups and cups-filters; the test is skipped without them."""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import warnings

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Desktop, Program, ProgramTest, wait_until, program_arguments, run_tests  # noqa: E402

warnings.filterwarnings("ignore", category=DeprecationWarning)

ARGS = None
PASSWORD = "velocipedarium"
QUEUE = "Stampante_Reception"
CARDS = 50000  # a search list of 893 pages: the job lasts well past the moment its window waits

# The private server's configuration and its PDF printer, shared with cups_e2e.sh.
CUPS_FILES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "printing", "cups")


class PrintServer:
    """A private cupsd with one queue, the default, printing to `self.output`."""

    def __init__(self):
        self.work = tempfile.mkdtemp(prefix="ingressario-e2e-cups-")
        self.output = os.path.join(self.work, "out", "job.pdf")
        self.proc = None

    def start(self):
        for sub in ("spool/tmp", "cache", "state", "log", "out"):
            os.makedirs(os.path.join(self.work, sub))
        os.chmod(self.work, 0o755)
        os.chmod(os.path.join(self.work, "spool"), 0o755)
        for name in ("cupsd.conf", "cups-files.conf"):
            with open(os.path.join(CUPS_FILES, name)) as source, open(os.path.join(self.work, name), "w") as f:
                f.write(source.read().replace("@WORK@", self.work))
        shutil.copy2(os.path.join(CUPS_FILES, "pdf-file.ppd"), self.work)
        self.log = open(os.path.join(self.work, "log", "cupsd.out"), "w")
        self.proc = subprocess.Popen(["/usr/sbin/cupsd", "-f", "-c", os.path.join(self.work, "cupsd.conf"),
                                      "-s", os.path.join(self.work, "cups-files.conf")],
                                     stdout=self.log, stderr=subprocess.STDOUT)
        self.env = dict(os.environ, CUPS_SERVER=os.path.join(self.work, "cups.sock"))
        wait_until(lambda: self.run("lpstat", "-r").returncode == 0, 20, "the print server")
        self.run("lpadmin", "-p", QUEUE, "-v", "file:" + self.output, "-E", "-P",
                 os.path.join(self.work, "pdf-file.ppd"), check=True)
        self.run("lpadmin", "-d", QUEUE, check=True)

    def run(self, *args, check=False):
        return subprocess.run(list(args), env=self.env, check=check, stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, text=True)

    def jobs(self, which):
        """The queue's jobs, "completed" or "not-completed", one line each."""
        return [line for line in self.run("lpstat", "-W", which, "-o").stdout.splitlines() if line.strip()]

    def stop(self):
        if self.proc is not None and self.proc.poll() is None:
            self.proc.terminate()
            self.proc.wait(10)
            self.log.close()
        shutil.rmtree(self.work, ignore_errors=True)


class PrintTest(ProgramTest):
    server = None

    @classmethod
    def setUpClass(cls):
        if os.geteuid() != 0:
            raise unittest.SkipTest("the private print server needs root")
        for need in ("/usr/sbin/cupsd", "/usr/lib/cups/filter/pdftopdf"):
            if not os.path.exists(need):
                raise unittest.SkipTest(need + " is missing (packages cups, cups-filters)")
        cls.server = PrintServer()
        cls.server.start()
        cls.desktop = Desktop()
        cls.desktop.start()
        cls.desktop.env["CUPS_SERVER"] = cls.server.env["CUPS_SERVER"]

    @classmethod
    def tearDownClass(cls):
        if cls.desktop is not None:
            cls.desktop.stop()
        if cls.server is not None:
            cls.server.stop()

    def setUp(self):
        self.program = Program(self.desktop, ARGS.program, ARGS.archive_text, ARGS.password_file)
        subprocess.run([ARGS.gen_fixtures, self.program.folder, str(CARDS), "10"], check=True)
        self.program.start()

    def start_printing_every_card(self):
        """The search with no filter, then Stampa and the print dialog's Return: the job starts."""
        self.wait_active("Ingressario - Accesso")
        self.d.type(PASSWORD)
        self.d.key("Return")
        self.p.click(self.p.find("SCHEDARIO PASS", "button"))
        self.wait_active("Ingressario - Schedario Pass")
        self.d.key("ctrl+f")
        self.wait_active("Trova pass in schedario")
        self.p.click(self.p.find("Cerca", "button"))
        self.p.find(f"Il presente riepilogo contiene {CARDS} schede.", "label", timeout=30)
        self.p.click(self.p.find("Stampa", "button"))
        self.wait_active("Stampa")
        self.d.key("Return")

    def test_escape_stops_a_long_print_and_nothing_reaches_the_printer(self):
        self.start_printing_every_card()
        # The progress window comes up while the sheets go out; Escape as soon as it is there.
        wait_until(lambda: self.d.active_window_name() == "Stampa in corso", 15, "the progress window")
        self.d.xdotool("key", "Escape")
        self.wait_active("Trova pass in schedario", timeout=60)
        # Whatever the queue would have done with it has had time to happen.
        time.sleep(3)
        self.assertEqual(self.server.jobs("completed"), [])
        self.assertEqual(self.server.jobs("not-completed"), [])
        self.assertFalse(os.path.exists(self.server.output), "the stopped job reached the printer")
        # Nothing said: the list is still there, with nothing over it.
        self.assertEqual(self.d.active_window_name(), "Trova pass in schedario")


def main():
    global ARGS
    ARGS, rest = program_arguments(more=["--gen-fixtures"])
    run_tests(rest)


if __name__ == "__main__":
    main()
