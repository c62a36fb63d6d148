"""What a screen reader is told of every control of the program's windows, read as one reads
it: AccessibleObjectFromWindow on the control's window and the IAccessible it returns
(ltdrive "accessible"). Each control has its role and the name a sighted user reads for it;
fields, lists and sliders their values; check-list items their check marks."""
import pytest

from harness.waiting import wait_until

SETUP = "Установка"
CADENCE = "Сигнал \"Занято\""
SHOWN = object()  # named by its own text, which the program fills in

BUSY = [("Минимальное время сигнала", "Label10", "Edit2"), ("Максимальное время сигнала", "Label11", "Edit3"),
        ("Минимальное время паузы", "Label12", "Edit4"), ("Максимальное время паузы", "Label13", "Edit5"),
        ("Количество циклов сигнала", "Label14", "Edit6")]
SPEED = [("Выбранный протокол", "Label6", "ComboBox2"), ("Автоматический выбор", "Label25", "ComboBox9"),
         ("Минимальная скорость приема", "Label26", "ComboBox3"),
         ("Максимальная скорость приема", "Label27", "ComboBox4"),
         ("Минимальная скорость передачи", "Label28", "ComboBox5"),
         ("Максимальная скорость передачи", "Label29", "ComboBox6"),
         ("Символьная скорость (макс)", "Label30", "ComboBox8")]
NOTICE = ("Дополнительные\\r\\nрегистры введены\\r\\nтолько в русские\\r\\nверсии микропро-\\r\\nграмм для "
          "модемов\\r\\nсерии ZOLT1 и \\r\\nZOLT2.\\r\\n\\r\\nПоддерживаются\\r\\nверсии:\\r\\n6120_beta 47\\r\\n"
          "6120_beta 47a\\r\\n6120_beta 48a\\r\\n5318GB1\\r\\nQK_64a")


def buttons(role_names):
    return [(control, "pushbutton", name) for control, name in role_names]


def read_write_append(*controls):
    return buttons(zip(controls, ["Считать", "Записать", "В строку"]))


# (control, role, name). Pages and groups are the system's own windows (role client) named
# by their captions; every field, list and slider is named by its label.
MAIN_WINDOW = [
    ("PageControl1", "pagetablist", ""),
    *buttons([("SpeedButton1", "Помощь"), ("SpeedButton3", "Выход")]),
    ("Memo1", "text", ""), ("Memo2", "text", ""),
    # Главная
    ("TabSheet1", "client", "Главная"),
    ("GroupBox1", "client", "Сигнал \"Линия занята\""),
    *[(label, "statictext", name) for name, label, _ in BUSY],
    *[(edit, "text", name) for name, _, edit in BUSY],
    *read_write_append("SpeedButton4", "SpeedButton5", "SpeedButton8"),
    ("LMD3DEffectButton1", "pushbutton", CADENCE),
    ("Label3", "statictext", "Строка инициализации выбранного модема:"),
    ("Edit1", "text", "Строка инициализации выбранного модема:"),
    *buttons([("SpeedButton18", "Читать"), ("SpeedButton19", "Записать"), ("SpeedButton20", "Очистить")]),
    # Уровни сигналов
    ("TabSheet5", "client", "Уровни сигналов"),
    ("LMDGroupBox1", "client", "Уровень выходного сигнала модема"),
    ("RxLabel1", "statictext", ""), ("Label2", "statictext", "-20"), ("Label24", "statictext", "-3"),
    ("RxSlider1", "slider", "Уровень выходного сигнала модема"),
    *read_write_append("SpeedButton12", "SpeedButton13", "SpeedButton14"),
    ("LMDGroupBox2", "client", "Дополнительно"),
    ("RxLabel2", "statictext", "Уровень агрессивности"), ("RxSlider2", "slider", "Уровень агрессивности"),
    ("RxLabel3", "statictext", "Детектор помех в линии"), ("RxSlider3", "slider", "Детектор помех в линии"),
    *[(label, "statictext", mark) for label, mark in
      zip(["RxLabel6", "RxLabel8", "RxLabel7", "RxLabel9", "RxLabel11", "RxLabel10"], ["-4", "0", "4"] * 2)],
    *read_write_append("SpeedButton15", "SpeedButton16", "SpeedButton17"),
    # Регистры +
    ("TabSheet2", "client", "Регистры +"),
    ("GroupBox3", "client", "Русские регистры"),
    ("CheckListBox1", "list", "S216"), ("Label23", "statictext", "S216"),
    ("CheckListBox2", "list", "S218"), ("Label5", "statictext", "S218"),
    *read_write_append("Button1", "SpeedButton2", "SpeedButton7"),
    ("RxLabel5", "statictext", "Информация:"), ("RxLabel4", "statictext", NOTICE),
    # Скорость
    ("TabSheet4", "client", "Скорость"),
    ("GroupBox4", "client", "Параметры скорости соединения"),
    *[(label, "statictext", name) for name, label, _ in SPEED],
    *[(combo, "combobox", name) for name, _, combo in SPEED],
    *read_write_append("SpeedButton9", "SpeedButton10", "SpeedButton11"),
    # Информация
    ("TabSheet3", "client", "Информация"),
    ("Label1", "statictext", "Olvix Linetrim  v.5.09"),
    ("SpeedButton21", "pushbutton", "Модем"),
    ("GroupBox2", "client", ""),
    ("Label19", "statictext", "Наши координаты:"), ("Label18", "statictext", "Сайт компании :"),
    ("Label21", "statictext", "Сайт Olvix :"),
    ("Label20", "link", "http://olvix.example/"), ("Label22", "link", "http://olvix.example/zolt/"),
    ("Label7", "statictext", "Обнаружен модем:"), ("Label15", "statictext", SHOWN),
    ("Label8", "statictext", "Серия :"), ("Label16", "statictext", SHOWN),
    ("Label9", "statictext", "Версия микропрограммы:"), ("Label17", "statictext", SHOWN),
    ("SpeedButton6", "pushbutton", "Определить модель модема"),
]

SETUP_DIALOG = [
    ("Label1", "statictext", "Выберите пожалуйста установленный модем:"),
    ("ComboBox1", "combobox", "Выберите пожалуйста установленный модем:"),
    ("Label2", "statictext", "Выберите порт к которому подключен модем"),
    ("ComboBox2", "combobox", "Выберите порт к которому подключен модем"),
    ("Label3", "statictext", "Выберите серию модема "),
    ("ComboBox3", "combobox", "Выберите серию модема "),
    ("Button1", "pushbutton", "Сделать выбранный модем - текущим"),
]

TONE_TITLE = "Длительность гудка в сигнале \"Линия занята\""
PAUSE_TITLE = "Длительность паузы в сигнале \"Линия занята\""
CADENCE_EDITOR = [
    ("Shape1", "graphic", ""), ("LMDTechnicalLine1", "graphic", ""),
    ("LMDShapeControl1", "graphic", TONE_TITLE), ("LMDShapeControl2", "graphic", PAUSE_TITLE),
    ("RxLabel1", "statictext", "Минимальное время сигнала:"), ("RxLabel2", "statictext", "Максимальное время сигнала:"),
    ("RxLabel3", "statictext", "Минимальное время паузы"), ("RxLabel4", "statictext", "Максимальное время паузы"),
    # Ten times the busy-tone fields the editor was opened from: 025, 050, 010, 040.
    ("RxLabel5", "statictext", "250"), ("RxLabel6", "statictext", "500"),
    ("RxLabel7", "statictext", "100"), ("RxLabel8", "statictext", "400"),
    ("RxLabel9", "statictext", TONE_TITLE), ("RxLabel10", "statictext", PAUSE_TITLE),
    ("SpeedButton1", "pushbutton", "Внести значения"),
]


class Told:
    """One control as the driver reads it through its IAccessible."""

    def __init__(self, output):
        self.fields, self.items = {}, []
        for line in output.split("\n"):
            key, _, rest = line.partition("=")
            if key == "item":
                role, name, states = rest.split("\t")
                self.items.append((role, name, set(filter(None, states.split(",")))))
            else:
                self.fields[key] = rest
        self.role, self.name = self.fields["role"], self.fields["name"]
        self.value = self.fields.get("value")
        self.states = set(filter(None, self.fields["state"].split(",")))


def told(app, caption, control):
    return Told(app.drive("accessible", caption, control))


def expect_table(app, caption, table):
    """Every control of the table with its role and name; all differences reported at once."""
    wrong = []
    for control, role, name in table:
        if name is SHOWN:
            name = app.text(control, caption)
        got = told(app, caption, control)
        if (got.role, got.name) != (role, name):
            wrong.append(f"{control}: {got.role} \"{got.name}\", not {role} \"{name}\"")
    assert not wrong, f"{caption}:\n" + "\n".join(wrong)


@pytest.mark.russian
def test_every_control_tells_its_role_name_and_value(app):
    app.prefix.seed_settings(1)
    app.modem.start()
    app.start()
    w = app.caption
    expect_table(app, w, MAIN_WINDOW)

    help_button = told(app, w, "SpeedButton1")
    assert "unavailable" in help_button.states, "the disabled help button is told as usable"
    link = told(app, w, "Label20")
    assert {"linked", "focusable"} <= link.states, f"the link is told as {link.states}"

    tabs = told(app, w, "PageControl1")
    assert [(role, name) for role, name, _ in tabs.items] == [
        ("pagetab", "Главная"), ("pagetab", "Уровни сигналов"), ("pagetab", "Регистры +"),
        ("pagetab", "Скорость"), ("pagetab", "Информация")]
    assert ["selected" in states for _, _, states in tabs.items] == [False, False, True, False, False]

    # Values: a slider's position, a field's text, a list's selection, check marks.
    assert told(app, w, "RxSlider1").value == "13"
    app.select_page(0)
    app.step("busy tone read", ("click", w, "SpeedButton4"), ("wait-values", w, 30, "025", "Edit2"))
    assert told(app, w, "Edit2").value == "025"

    app.select_page(3)
    assert told(app, w, "ComboBox2").value == "", "nothing is selected at start"
    app.step("protocol picked", ("pick-text", w, "ComboBox2", "V90"), ("wait-values", w, 10, "V90", "ComboBox2"))
    assert told(app, w, "ComboBox2").value == "V90"

    app.select_page(2)
    app.step("two bits checked", ("toggle", w, "CheckListBox1", 1), ("toggle", w, "CheckListBox1", 7),
              ("wait-values", w, 10, "01000001", "CheckListBox1"))
    bits = told(app, w, "CheckListBox1").items
    assert [(role, name) for role, name, _ in bits] == [
        ("listitem", "Dis. Power Drop"), ("listitem", "Dis. 15 dB txlevel"), ("listitem", "Dis. offset"),
        ("listitem", "not used"), ("listitem", "not used"), ("listitem", "Noise Filters"),
        ("listitem", "Noise Filters"), ("listitem", "Max speed")]
    assert ["checked" in states for _, _, states in bits] == [False, True, False, False, False, False, False, True]

    # The cadence editor, opened by the picture button the busy-tone read enabled.
    app.select_page(0)
    app.step("cadence editor opened", ("click", w, "LMD3DEffectButton1"), ("wait-window", CADENCE, 10))
    expect_table(app, CADENCE, CADENCE_EDITOR)
    app.drive("close", CADENCE)

    app.select_page(4)
    app.step("setup dialog shown", ("click", w, "SpeedButton21"), ("wait-window", SETUP, 10))
    expect_table(app, SETUP, SETUP_DIALOG)
    assert told(app, SETUP, "ComboBox1").value == "Olvix ZOLT2 V.92"
    app.drive("close", SETUP)
    app.exit()

