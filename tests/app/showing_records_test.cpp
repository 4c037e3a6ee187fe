#include <QApplication>
#include <QTabWidget>
#include <QTest>
#include <memory>
#include <random>

#include "advanced/advanced_settings_dialog.h"
#include "app/support/editor_rigs.h"
#include "basic/basic_settings_dialog.h"
#include "protocol/test_records.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {

Bytes RandomBytes(std::mt19937& rng, std::size_t most) {
    Bytes bytes(rng() % (most + 1));
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(rng());
    return bytes;
}

/// Random content in every setting the pages show, byte strings longer than their boxes
/// take among them. The firmware and the interface stay the reader's: the pages follow them.
void Scramble(ReaderSettings& r, std::mt19937& rng) {
    for (std::uint8_t* field : OneByteFields(r))
        *field = static_cast<std::uint8_t>(rng());
    // Security levels and ciphers the pages know, and bytes they do not.
    r.SecurityLevel = static_cast<std::uint8_t>(rng() % 2 ? '0' + rng() % 5 : rng());
    r.Encryption = static_cast<std::uint8_t>(rng() % 2 ? '0' + rng() % 3 : rng());
    r.KbPollInterval = static_cast<std::uint8_t>(rng());
    for (Bytes* s : {&r.Preamble, &r.Postamble, &r.Track1Prefix, &r.Track2Prefix, &r.Track3Prefix,
                     &r.Track1Suffix, &r.Track2Suffix, &r.Track3Suffix}) {
        *s = RandomBytes(rng, 30);
    }
    for (Bytes& formula : r.formulas)
        formula = RandomBytes(rng, 12);
}

}  // namespace

class ShowingRecordsTest : public QObject {
    Q_OBJECT

  private slots:
    // Loading a page only reads: whatever the record holds, for every firmware threshold and
    // every link, showing it on every page of both editors leaves every byte as it was.
    void showingARecordOnEveryPageNeverChangesIt() {
        std::mt19937 rng(2026);
        for (const char* reader :
             {"usb-hid,firmware=V1.77", "usb-hid-kb,firmware=V3.31", "usb-hid,firmware=V3.32",
              "usb-rs232,firmware=V3.33", "rs232,firmware=V3.90", "usb-hid-kb,firmware=V4.25",
              "usb-hid-kb,firmware=V4.26,pid=4106,security-level=1",
              "usb-hid,firmware=V4.30,pid=4206,security-level=2",
              "usb-hid-kb,firmware=V4.31,pid=4106,security-level=0"}) {
            ConnectedRig rig({reader});
            BasicSettingsDialog basic(rig.app.Link, rig.app.Messages, rig.files);
            AdvancedSettingsDialog advanced(rig.services, nullptr);
            for (int round = 0; round < 12; ++round) {
                Scramble(*rig.app.Link.Settings, rng);
                const ReaderSettings before = *rig.app.Link.Settings;
                for (SettingsEditor* editor : {static_cast<SettingsEditor*>(&basic),
                                               static_cast<SettingsEditor*>(&advanced)}) {
                    editor->show();
                    for (int tab = 0; tab < editor->Tabs()->count(); ++tab) {
                        editor->Tabs()->setCurrentIndex(tab);
                        editor->RefreshAllPages();
                        QApplication::processEvents();
                    }
                    editor->hide();
                }
                QVERIFY2(*rig.app.Link.Settings == before, reader);
            }
            QVERIFY2(rig.boxes.Shown.empty(), reader);
        }
    }
};

RAVELFIN_GUI_TEST(ShowingRecordsTest);
#include "showing_records_test.moc"
