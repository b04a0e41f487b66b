"""The operator's everyday paths on the real program, under a real X server and window manager,
driven only by key presses and mouse clicks; results are read from the screen (through the
accessibility tree) and from the data files (through the archive code)."""

import datetime
import os
import shutil
import subprocess
import sys
import time
import warnings

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Desktop, Program, ProgramTest, Timeout, pyatspi, wait_until, program_arguments, run_tests  # noqa: E402

warnings.filterwarnings("ignore", category=DeprecationWarning)

ARGS = None
FIXTURES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fixtures")
PASSWORD = "velocipedarium"
YEAR = str(datetime.date.today().year)


class OperatorTest(ProgramTest):
    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop()
        cls.desktop.start()

    @classmethod
    def tearDownClass(cls):
        cls.desktop.stop()

    def setUp(self):
        self.program = Program(self.desktop, ARGS.program, ARGS.archive_text, ARGS.password_file, ARGS.guide)
        for name in ("Schedario_Pass.pro", "Storico_Operazioni.pro"):
            shutil.copy2(os.path.join(FIXTURES, name), self.program.path(name))
        self.helpers = []
        self.program.start()

    def stop_helpers(self):
        for helper in self.helpers:
            if helper.poll() is None:
                helper.kill()
            helper.wait()

    # ---- the operator's gestures -----------------------------------------------------------------

    def login(self):
        self.wait_active("Ingressario - Accesso")
        self.d.type(PASSWORD)
        self.d.key("Return")
        self.p.find("SCHEDARIO PASS", "button")
        self.wait_active("Ingressario")

    def open_work_area(self, button, title):
        self.login()
        self.p.click(self.p.find(button, "button"))
        self.wait_active(title)

    def message(self, timeout=10):
        """The message box now showing: its window and its text."""
        def find():
            for w in self.p.windows():
                if w.getRole() in (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG) and \
                        w.getState().contains(pyatspi.STATE_ACTIVE):
                    return w
            return None
        box = wait_until(find, timeout, "a message box")
        texts = []

        def collect(node):
            for i in range(node.childCount):
                child = node.getChildAtIndex(i)
                if child.getRole() == pyatspi.ROLE_LABEL and child.name:
                    texts.append(child.name)
                collect(child)
        collect(box)
        return box, "\n".join(texts)

    def answer(self, button):
        """Answers the message box now showing with a click on `button`; returns its text."""
        box, text = self.message()
        self.p.click(self.p.find(button, "button", within=box))
        wait_until(lambda: not box.getState().contains(pyatspi.STATE_SHOWING), 5, "the box to close")
        return text

    def combos(self, group):
        panel = self.p.find(group, "panel")
        return [panel.getChildAtIndex(i) for i in range(panel.childCount)
                if panel.getChildAtIndex(i).getRole() == pyatspi.ROLE_COMBO_BOX]

    def combo_text(self, combo):
        for i in range(combo.childCount):
            child = combo.getChildAtIndex(i)
            if child.getRole() == pyatspi.ROLE_TEXT:
                return self.p.text_of(child)
        return combo.name

    def popup_list(self, combo):
        def find():
            for i in range(combo.childCount):
                child = combo.getChildAtIndex(i)
                if child.getRole() == pyatspi.ROLE_LIST and child.getState().contains(pyatspi.STATE_SHOWING):
                    return child
            return None
        return wait_until(find, 5, "the drop-down's list")

    def choose_by_mouse(self, combo, item):
        """Opens the drop-down with a click on its arrow and clicks the item in its list."""
        self.p.click(combo, dx=-8)
        lst = self.popup_list(combo)
        for _ in range(10):
            hit = [lst.getChildAtIndex(i) for i in range(lst.childCount)
                   if lst.getChildAtIndex(i).name == item and
                   lst.getChildAtIndex(i).getState().contains(pyatspi.STATE_SHOWING)]
            if hit:
                break
            self.d.key("Next")  # a page further down the open list
        self.assertTrue(hit, f"item {item!r} not in the list")
        self.p.click(hit[0])
        wait_until(lambda: not lst.getState().contains(pyatspi.STATE_SHOWING), 5, "the list to close")

    def choose_by_keyboard(self, combo, steps_down):
        """In the focused drop-down: opens the list (Alt+Down), goes to the first item, then down."""
        self.d.key("alt+Down")
        lst = self.popup_list(combo)
        self.d.key("Home", *(["Down"] * steps_down), "Return")
        wait_until(lambda: not lst.getState().contains(pyatspi.STATE_SHOWING), 5, "the list to close")

    def tab_to(self, name, presses=40):
        """Presses Tab until the control named `name` has the keyboard focus."""
        for _ in range(presses):
            focused = self.p.focused()
            if focused is not None and focused.name == name:
                return focused
            self.d.key("Tab")
        self.fail(f"Tab never reached {name!r}")

    def press_by_accessibility(self, control):
        """What a screen reader or any automation does: the control's own press action, which
        reaches a window even while a modal box of the program is open."""
        action = control.queryAction()
        for i in range(action.nActions):
            if action.getName(i) in ("Press", "press", "click", "Click"):
                action.doAction(i)
                return
        action.doAction(0)

    def start_other_desk(self, *args):
        proc = subprocess.Popen(list(args), stdout=subprocess.PIPE, text=True)
        self.helpers.append(proc)
        return proc

    def pick_first_pass(self, list_title):
        self.p.click(self.p.find("Seleziona pass", "button"))
        self.wait_active(list_title)
        lst = self.p.find(list_title, "list")
        line = wait_until(lambda: lst.childCount and lst.getChildAtIndex(0), 5, "a line in the list")
        self.p.click(line, dx=40, double=True)

    # ---- paths -----------------------------------------------------------------------------------

    def test_login_refuses_a_wrong_password_then_admits(self):
        self.wait_active("Ingressario - Accesso")
        self.d.type("sbagliata")
        self.d.key("Return")
        text = self.answer("OK")
        self.assertIn("password", text.lower())
        self.login()

    def test_withdrawal_and_return_with_date_and_time_from_the_lists(self):
        self.open_work_area("RITIRI E RICONSEGNE", "Ingressario - Ritiri e Riconsegne")
        self.p.click(self.p.find("Ritiro pass", "button"))
        self.pick_first_pass("Elenco pass disponibili per ritiro")
        self.wait_active("Ingressario - Ritiri e Riconsegne")
        self.assertEqual(self.p.text_of(self.p.find("Numero identificativo", "text")), "B-01")

        day, month = self.combos("Data ritiro")
        hour, minutes = self.combos("Ora ritiro")
        self.choose_by_mouse(day, "07")
        self.choose_by_mouse(month, "Marzo")
        self.assertEqual((self.combo_text(day), self.combo_text(month)), ("07", "Marzo"))
        self.d.key("Return")  # the Enter chain: month -> hour
        self.choose_by_keyboard(hour, 9)
        self.d.key("Return")  # hour -> minutes
        self.choose_by_keyboard(minutes, 5)
        self.assertEqual((self.combo_text(hour), self.combo_text(minutes)), ("09", "05"))

        self.p.click(self.p.find("Persona che ritira il pass", "text"))
        self.d.type("Mario Rossi")
        self.p.click(self.p.find("Applica e chiudi", "button"))
        self.answer("OK")
        self.wait_active("Ingressario")

        card = self.p.cards()[0]
        self.assertEqual((card["DataRit"], card["OraRit"], card["PersonaRit"]),
                         (f"07/03/{YEAR}", "09:05", "Mario Rossi"))
        self.assertEqual(card["Stato"], f"Ritirato da Mario Rossi in data 07/03/{YEAR} alle ore 09:05")

        # The return of the same pass, at a time chosen by keyboard on the date the list sets.
        history_before = len(self.p.history())
        self.p.click(self.p.find("RITIRI E RICONSEGNE", "button"))
        self.p.click(self.p.find("Riconsegna pass", "button"))
        self.pick_first_pass("Elenco pass da riconsegnare")
        self.p.click(self.p.find("Persona che riconsegna il pass", "text"))
        self.d.type("Lucia Verdi")
        self.p.click(self.p.find("Applica e chiudi", "button"))
        self.wait_active("Riepilogo ritiro e riconsegna pass")
        self.p.click(self.p.find("OK", "button"))  # the return summary appends the cycle
        self.answer("OK")  # then the return's own success message
        self.wait_active("Ingressario")
        history = self.p.history()
        self.assertEqual(len(history), history_before + 1)
        self.assertEqual((history[-1]["Codice"], history[-1]["DataRit"], history[-1]["OraRit"],
                          history[-1]["PersonaRit"], history[-1]["PersonaRic"]),
                         ("B-01", f"07/03/{YEAR}", "09:05", "Mario Rossi", "Lucia Verdi"))
        self.assertEqual(self.p.cards()[0]["Stato"], "Disponibile")

    def test_new_card_is_saved_and_found_again_by_the_search(self):
        self.open_work_area("SCHEDARIO PASS", "Ingressario - Schedario Pass")
        self.p.click(self.p.find("Nuova scheda", "button"))
        self.p.click(self.p.find("Numero identificativo", "text"))
        # The Enter chain: identifier, type, use, duplicates, place, responsible, contacts, persons.
        for text in ("N-99", "Badge", "Mensa", "", "Portineria", "", "", "Ospiti"):
            if text:
                self.d.type(text)
            self.d.key("Return")
        self.p.click(self.p.find("Salva scheda", "button"))
        self.assertIn("inserita in archivio", self.answer("OK"))
        cards = self.p.cards()
        self.assertEqual(len(cards), 5)
        self.assertEqual((cards[4]["Scheda"], cards[4]["Codice"], cards[4]["Tipo"], cards[4]["Utilizzo"],
                          cards[4]["Luogo"], cards[4]["Persone"], cards[4]["Stato"], cards[4]["Smarrita"]),
                         ("00005", "N-99", "Badge", "Mensa", "Portineria", "Ospiti", "Disponibile", "No"))

        # Away to the first card, then back through the search.
        self.p.click(self.p.find("Prima scheda", "button"))
        wait_until(lambda: self.p.text_of(self.p.find("Numero identificativo", "text")) == "B-01", 5,
                   "the first card")
        self.p.click(self.p.find("Trova scheda", "button"))
        self.wait_active("Trova pass in schedario")
        self.d.type("n-99")
        self.p.click(self.p.find("Cerca", "button"))
        results = self.p.find("Schede trovate", "list")
        line = wait_until(lambda: results.childCount and results.getChildAtIndex(0), 5, "a result")
        self.assertIn("N-99", line.name)
        self.p.click(line, dx=40, double=True)
        self.wait_active("Ingressario - Schedario Pass")
        self.assertEqual(self.p.text_of(self.p.find("Numero identificativo", "text")), "N-99")
        self.assertEqual(self.p.text_of(self.p.find("Luogo conservazione", "text")), "Portineria")

    def test_history_query_of_a_year(self):
        self.open_work_area("STORICO OPERAZIONI", "Ingressario - Storico Operazioni")
        year = self.p.find("Anno", "text")
        self.p.click(year)
        # Digits, Backspace, Delete, Left and Right are the field's only keys.
        self.d.key(*["Delete"] * 4, *["BackSpace"] * 4)
        self.d.type("2025")
        self.assertEqual(self.p.text_of(year), "2025")
        start_day, start_month = self.combos("Data inizio intervallo:")
        end_day, end_month = self.combos("Data fine intervallo:")
        self.choose_by_mouse(start_day, "01")
        self.choose_by_mouse(start_month, "Gennaio")
        self.choose_by_mouse(end_day, "31")
        self.choose_by_mouse(end_month, "Dicembre")
        self.p.click(self.p.find("Visualizza riepilogo", "button"))
        grid = self.p.find("Operazioni del periodo", "table", timeout=10)
        table = grid.queryTable()
        codes = sorted(table.getAccessibleAt(r, 1).name for r in range(table.nRows))
        # The two cycles withdrawn in 2025; the one of 2026 stays out.
        self.assertEqual(codes, ["B-01", "C-03"])

    # ---- faults that were found on the real program ---------------------------------------------

    def pick_for_withdrawal(self):
        self.open_work_area("RITIRI E RICONSEGNE", "Ingressario - Ritiri e Riconsegne")
        self.p.click(self.p.find("Ritiro pass", "button"))
        self.pick_first_pass("Elenco pass disponibili per ritiro")
        self.wait_active("Ingressario - Ritiri e Riconsegne")

    def test_closed_drop_down_takes_no_value_from_arrows_pages_or_wheel(self):
        self.pick_for_withdrawal()
        hour = self.combos("Ora ritiro")[0]
        before = self.combo_text(hour)
        self.assertRegex(before, r"^\d\d$")
        x, y, w, h = self.p.extents(hour)
        self.d.click_at(x + 10, y + h // 2)  # into the text, away from the arrow
        for keys in (["Down"], ["Up"], ["Next"], ["Prior"], ["Home"], ["End"]):
            self.d.key(*keys)
            self.assertEqual(self.combo_text(hour), before, f"after {keys}")
        for wheel in (4, 5):
            self.d.click_at(x + 10, y + h // 2, button=wheel)
            self.assertEqual(self.combo_text(hour), before, f"after wheel button {wheel}")
        # The keyboard's way into the list stays.
        self.d.key("alt+Down")
        self.popup_list(hour)
        self.d.key("Escape")

    def test_enter_and_escape_on_companion_windows(self):
        self.login()
        windows = [
            ("Informazioni su Ingressario", "Chiudi"),
            ("Guida: uno sguardo a Ingressario", "Chiudi"),
            ("Il produttore: Cartavolante Software", "Chiudi"),
        ]
        for opener, button in windows:
            for key in ("Return", "KP_Enter", "Escape"):
                with self.subTest(window=opener, key=key):
                    self.p.click(self.p.find(opener, "button"))
                    wait_until(lambda: self.d.active_window_name() != "Ingressario", 5, "the window")
                    title = self.d.active_window_name()
                    if key != "Escape":
                        self.tab_to(button)
                    self.d.key(key)
                    self.wait_active("Ingressario")
                    self.assertNotEqual(title, "Ingressario")

        # Enter on a focused work-area button of the launcher opens the work area.
        self.tab_to("SCHEDARIO PASS")
        self.d.key("Return")
        self.wait_active("Ingressario - Schedario Pass")

        # The card print window: Enter on Annulla, and Escape, close it without printing.
        for key in ("Return", "Escape"):
            with self.subTest(window="Stampa scheda", key=key):
                self.p.click(self.p.find("Stampa", "button"))
                self.wait_active("Stampa scheda")
                if key == "Return":
                    self.tab_to("Annulla")
                self.d.key(key)
                self.wait_active("Ingressario - Schedario Pass")

        # The attachment window: Enter on each of its buttons does what a click does.
        self.p.click(self.p.find("Allega file", "button"))
        self.wait_active("Allega file")
        self.tab_to("Sfoglia 1° file allegato")
        self.d.key("Return")
        wait_until(lambda: self.d.active_window_name() not in ("Allega file", " Allega file"), 5,
                   "the file dialog")
        self.d.key("Escape")
        self.wait_active("Allega file")
        for button in ("Annulla", "Applica e chiudi"):
            with self.subTest(window="Allega file", button=button):
                if button != "Annulla":
                    self.p.click(self.p.find("Allega file", "button"))
                    self.wait_active("Allega file")
                self.tab_to(button)
                self.d.key("Return")
                self.wait_active("Ingressario - Schedario Pass")

    def test_windows_closed_behind_their_own_question_do_not_crash(self):
        self.open_work_area("SCHEDARIO PASS", "Ingressario - Schedario Pass")
        # The card export window, closed while its export question is showing.
        self.p.click(self.p.find("Esporta in Excel", "button"))
        self.wait_active("Esporta schedario pass in Microsoft Excel")
        export_window = self.p.windows()[0]
        self.p.click(self.p.find("Esporta in Microsoft Excel", "button", within=export_window))
        self.message()
        self.press_by_accessibility(self.p.find("Esci", "button", within=export_window))
        self.answer("No")
        time.sleep(0.5)
        self.assertTrue(self.p.running(), self.p.stderr_text())

        # The search window, closed while "Ricerca non applicabile..." is showing.
        self.wait_active("Ingressario - Schedario Pass")
        self.p.click(self.p.find("Trova scheda", "button"))
        self.wait_active("Trova pass in schedario")
        search = self.p.windows()[0]
        self.d.type("nessuna-scheda-cosi")
        self.p.click(self.p.find("Cerca", "button"))
        self.p.click(self.p.find("Trova", "button", within=search))
        self.assertIn("Ricerca non applicabile", self.message()[1])
        self.press_by_accessibility(self.p.find("Chiudi", "button", within=search))
        self.answer("OK")
        time.sleep(0.5)
        self.assertTrue(self.p.running(), self.p.stderr_text())

    def show_first_card(self):
        self.open_work_area("SCHEDARIO PASS", "Ingressario - Schedario Pass")
        self.p.click(self.p.find("Prima scheda", "button"))
        wait_until(lambda: self.p.text_of(self.p.find("Numero identificativo", "text")) == "B-01", 5,
                   "the first card")

    def test_stale_save_does_not_revert_another_desks_change(self):
        self.show_first_card()
        # Another desk marks the pass lost and writes a note after this desk loaded it.
        subprocess.run([ARGS.archive_text, "set", self.p.folder, "1", "Smarrita=Sì", "Note=smarrito ieri"],
                       check=True)
        self.p.click(self.p.find("Recapiti", "text"))
        self.d.key("End")
        self.d.type(" bis")
        self.p.click(self.p.find("Salva scheda", "button"))
        self.assertIn("un'altra postazione", self.answer("OK"))
        card = self.p.cards()[0]
        self.assertEqual((card["Smarrita"], card["Note"], card["Recapiti"]), ("Sì", "smarrito ieri", "int. 31"))

    def test_save_gives_up_on_a_lock_held_elsewhere(self):
        self.show_first_card()
        holder = self.start_other_desk(ARGS.hold_lock, self.p.path("Schedario_Pass.pro"), "120000")
        self.assertEqual(holder.stdout.readline().strip(), "locked")
        self.p.click(self.p.find("Recapiti", "text"))
        self.d.key("End")
        self.d.type(" bis")
        self.p.click(self.p.find("Salva scheda", "button"))
        started = time.monotonic()
        _, text = self.message(timeout=30)
        self.assertLess(time.monotonic() - started, 30)
        self.assertIn("non permette di accedere all'archivio", text)
        self.answer("OK")
        self.assertEqual(self.p.cards()[0]["Recapiti"], "int. 31")
        # The typed value is still on the screen, and saves once the other desk is done.
        self.assertEqual(self.p.text_of(self.p.find("Recapiti", "text")), "int. 31 bis")
        holder.kill()
        holder.wait()
        self.p.click(self.p.find("Salva scheda", "button"))
        self.answer("OK")
        self.assertEqual(self.p.cards()[0]["Recapiti"], "int. 31 bis")

    def test_export_escapes_markup_in_card_texts(self):
        self.program.stop()
        subprocess.run([ARGS.archive_text, "set", self.p.folder, "1", "Tipo=Badge <vip> & \"ospiti\""], check=True)
        self.program.start()
        self.open_work_area("SCHEDARIO PASS", "Ingressario - Schedario Pass")
        self.p.click(self.p.find("Esporta in Excel", "button"))
        self.wait_active("Esporta schedario pass in Microsoft Excel")
        self.p.click(self.p.find("Esporta in Microsoft Excel", "button"))
        self.answer("Sì")
        self.answer("No")  # no need to open the file
        with open(self.p.path("Schedario_Pass.xls"), "rb") as f:
            data = f.read()
        self.assertIn(b"Badge &lt;vip&gt; &amp; &quot;ospiti&quot;", data)
        self.assertNotIn(b"<vip>", data)

    def test_long_pass_texts_show_their_beginning(self):
        self.program.stop()
        long_place = "Ufficio del personale, secondo cassetto della scrivania grande vicino alla finestra " * 2
        subprocess.run([ARGS.archive_text, "set", self.p.folder, "1", "Luogo=" + long_place.strip()], check=True)
        self.program.start()
        self.pick_for_withdrawal()
        field = self.p.find("Luogo conservazione", "text")
        self.assertTrue(self.p.text_of(field).startswith("Ufficio del personale"))
        self.assertEqual(field.queryText().caretOffset, 0)

    def test_double_click_below_the_last_line_hands_over_the_selected_line(self):
        self.open_work_area("RITIRI E RICONSEGNE", "Ingressario - Ritiri e Riconsegne")
        self.p.click(self.p.find("Ritiro pass", "button"))
        self.p.click(self.p.find("Seleziona pass", "button"))
        title = "Elenco pass disponibili per ritiro"
        self.wait_active(title)
        lst = self.p.find(title, "list")
        line = wait_until(lambda: lst.childCount and lst.getChildAtIndex(0), 5, "a line in the list")
        self.p.click(line, dx=40)
        x, y, w, h = self.p.extents(lst)
        self.d.click_at(x + 60, y + h - 60)
        self.d.click_at(x + 60, y + h - 60, double=True)
        self.wait_active("Ingressario - Ritiri e Riconsegne")
        self.assertEqual(self.p.text_of(self.p.find("Numero identificativo", "text")), "B-01")

    def status_line(self):
        """The status line: the label lowest on the active window, at its left edge."""
        labels = []

        def collect(node):
            for i in range(node.childCount):
                child = node.getChildAtIndex(i)
                if child.getRole() == pyatspi.ROLE_LABEL and child.getState().contains(pyatspi.STATE_SHOWING):
                    labels.append(child)
                collect(child)
        collect(self.p.windows()[0])
        return max(labels, key=lambda label: (self.p.extents(label)[1], -self.p.extents(label)[0]))

    def test_screen_readers_hear_the_status_line(self):
        self.open_work_area("SCHEDARIO PASS", "Ingressario - Schedario Pass")
        x, y, w, h = self.p.extents(self.p.find("Salva scheda", "button"))
        self.d.move_to(x + w // 2, y + h // 2)
        label = self.status_line()
        wanted = "Salva la scheda corrente in archivio."
        wait_until(lambda: wanted in (label.name, label.description), 5, "the status text on the bus")


def main():
    global ARGS
    ARGS, rest = program_arguments(hold_lock_required=True)
    run_tests(rest)


if __name__ == "__main__":
    main()
