// Virtual keys, HID usages and key names; X key symbols to virtual keys, where the keyboard
// grab stands in for the Windows hook.
#include "editors/KeyTables.h"

#include <QtTest>

#ifndef Q_OS_WIN
#include "editors/XKeysyms.h"
#endif

class KeyTablesTest : public QObject
{
    Q_OBJECT
private slots:
    void every_listed_key_survives_a_round_trip();
    void rows_follow_the_runs_and_single_keys_data();
    void rows_follow_the_runs_and_single_keys();
    void unlisted_codes_are_no_key();
    void usage_only_rows();
    void names_data();
    void names();
#ifndef Q_OS_WIN
    void x_keys_data();
    void x_keys();
#endif
};

void KeyTablesTest::every_listed_key_survives_a_round_trip()
{
    int listed = 0;
    for (unsigned vkey = 0; vkey < 256; ++vkey) {
        const std::uint8_t usage = vk_to_hid_usage(vkey);
        if (usage == kNoKey)
            continue;
        ++listed;
        QCOMPARE(unsigned(hid_usage_to_vk(usage)), vkey);
        QVERIFY2(!vk_key_name(vkey).isEmpty(), qPrintable(QString::number(vkey, 16)));
    }
    // 10 digits, 26 letters, 10 keypad digits, F1-F12, 45 single keys and OEM_102.
    QCOMPARE(listed, 104);
}

void KeyTablesTest::rows_follow_the_runs_and_single_keys_data()
{
    QTest::addColumn<unsigned>("vkey");
    QTest::addColumn<unsigned>("usage");
    QTest::newRow("0") << 0x30u << 0x27u;
    QTest::newRow("1") << 0x31u << 0x1Eu;
    QTest::newRow("9") << 0x39u << 0x26u;
    QTest::newRow("A") << 0x41u << 0x04u;
    QTest::newRow("Z") << 0x5Au << 0x1Du;
    QTest::newRow("keypad 0") << 0x60u << 0x62u;
    QTest::newRow("keypad 1") << 0x61u << 0x59u;
    QTest::newRow("keypad 9") << 0x69u << 0x61u;
    QTest::newRow("F1") << 0x70u << 0x3Au;
    QTest::newRow("F12") << 0x7Bu << 0x45u;
    QTest::newRow("keypad minus") << 0x6Du << 0x56u;
    QTest::newRow("minus") << 0xBDu << 0x2Du;
    QTest::newRow("left Windows") << 0x5Bu << 0xE3u;
    QTest::newRow("right Windows") << 0x5Cu << 0xE7u;
    QTest::newRow("left Alt") << 0xA4u << 0xE2u;
    QTest::newRow("Tab") << 0x09u << 0x2Bu;
    QTest::newRow("OEM_7 quote") << 0xDEu << 0x34u;
    QTest::newRow("OEM_102") << 0xE2u << 0x64u;
    QTest::newRow("high bits ignored") << 0x141u << 0x04u;
}

void KeyTablesTest::rows_follow_the_runs_and_single_keys()
{
    QFETCH(unsigned, vkey);
    QFETCH(unsigned, usage);
    QCOMPARE(unsigned(vk_to_hid_usage(vkey)), usage);
}

void KeyTablesTest::unlisted_codes_are_no_key()
{
    // Generic Shift, Ctrl, Alt, the separator, F13, F24 and code 0xFF have no usage; passed
    // on unchanged, generic Shift (0x10) would be usage 'M'.
    for (unsigned vkey : {0x10u, 0x11u, 0x12u, 0x6Cu, 0x7Cu, 0x87u, 0xFFu})
        QCOMPARE(vk_to_hid_usage(vkey), kNoKey);
    // Keypad Enter and usages beyond the keyboard's have no virtual key.
    for (unsigned usage : {0x58u, 0x68u, 0xE8u, 0xFFu})
        QCOMPARE(hid_usage_to_vk(usage), kNoKey);
}

void KeyTablesTest::usage_only_rows()
{
    QCOMPARE(hid_usage_to_vk(0x32), std::uint8_t(0xDC));  // non-US # and ~
    QCOMPARE(vk_to_hid_usage(hid_usage_to_vk(0x32)), std::uint8_t(0x31));
    QCOMPARE(hid_usage_to_vk(0x64), std::uint8_t(0xE2));  // the ISO key, no longer left Alt
    QCOMPARE(vk_key_name(hid_usage_to_vk(0xE3)), QString("WIN"));
}

void KeyTablesTest::names_data()
{
    QTest::addColumn<unsigned>("vkey");
    QTest::addColumn<QString>("name");
    QTest::newRow("none") << 0x00u << QString();
    QTest::newRow("separator") << 0x6Cu << QString();
    QTest::newRow("0xFF") << 0xFFu << QString();
    QTest::newRow("Enter") << 0x0Du << QString("Enter");
    QTest::newRow("CTRL") << 0xA2u << QString("CTRL");
    QTest::newRow("RIGHT ALT") << 0xA5u << QString("RIGHT ALT");
    QTest::newRow("keypad minus") << 0x6Du << QString("-");
    QTest::newRow("minus") << 0xBDu << QString("-");
    QTest::newRow("comma") << 0xBCu << QString("<");
    QTest::newRow("grave") << 0xC0u << QString("`");
    QTest::newRow("backslash") << 0xDCu << QString("\\");
    QTest::newRow("NUMPAD0") << 0x60u << QString("NUMPAD0");
    QTest::newRow("NUMPAD9") << 0x69u << QString("NUMPAD9");
    QTest::newRow("F1") << 0x70u << QString("F1");
    QTest::newRow("F24") << 0x87u << QString("F24");
    QTest::newRow("after F24") << 0x88u << QString(QChar(0x88));
    QTest::newRow("letter") << 0x41u << QString("A");
    QTest::newRow("digit") << 0x37u << QString("7");
}

void KeyTablesTest::names()
{
    QFETCH(unsigned, vkey);
    QFETCH(QString, name);
    QCOMPARE(vk_key_name(vkey), name);
}

#ifndef Q_OS_WIN
void KeyTablesTest::x_keys_data()
{
    QTest::addColumn<unsigned>("keysym");
    QTest::addColumn<unsigned>("keycode");
    QTest::addColumn<unsigned>("vkey");
    QTest::newRow("a") << 0x61u << 38u << 0x41u;
    QTest::newRow("A") << 0x41u << 38u << 0x41u;
    QTest::newRow("7") << 0x37u << 16u << 0x37u;
    QTest::newRow("shifted 1") << 0x21u << 10u << 0x31u;
    QTest::newRow("Shift_L") << 0xffe1u << 50u << 0xA0u;
    QTest::newRow("Shift_R") << 0xffe2u << 62u << 0xA1u;
    QTest::newRow("Control_L") << 0xffe3u << 37u << 0xA2u;
    QTest::newRow("Alt_R") << 0xffeau << 108u << 0xA5u;
    QTest::newRow("AltGr") << 0xfe03u << 108u << 0xA5u;
    QTest::newRow("Super_L") << 0xffebu << 133u << 0x5Bu;
    QTest::newRow("ISO_Left_Tab") << 0xfe20u << 23u << 0x09u;
    QTest::newRow("F5") << 0xffc2u << 71u << 0x74u;
    QTest::newRow("F24") << 0xffd5u << 202u << 0x87u;
    QTest::newRow("Ctrl+Alt+F1 as XF86Switch_VT_1") << 0x1008fe01u << 67u << 0x70u;
    QTest::newRow("Ctrl+Alt+F12 as XF86Switch_VT_12") << 0x1008fe0cu << 96u << 0x7Bu;
    QTest::newRow("XF86Switch_VT_13") << 0x1008fe0du << 0u << 0u;
    QTest::newRow("KP_3") << 0xffb3u << 89u << 0x63u;
    QTest::newRow("KP_End") << 0xff9cu << 87u << 0x23u;
    QTest::newRow("KP_Subtract") << 0xffadu << 82u << 0x6Du;
    QTest::newRow("comma") << 0x2cu << 59u << 0xBCu;
    QTest::newRow("less on the ISO key") << 0x3cu << 94u << 0xE2u;
    QTest::newRow("bar on the ISO key") << 0x7cu << 94u << 0xE2u;
    QTest::newRow("unknown") << 0x1008ff11u << 122u << 0u;
}

void KeyTablesTest::x_keys()
{
    QFETCH(unsigned, keysym);
    QFETCH(unsigned, keycode);
    QFETCH(unsigned, vkey);
    QCOMPARE(unsigned(vk_from_x_key(keysym, keycode)), vkey);
}
#endif

QTEST_APPLESS_MAIN(KeyTablesTest)
#include "tst_key_tables.moc"
