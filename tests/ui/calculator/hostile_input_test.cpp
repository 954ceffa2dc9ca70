// No text in any field of the window crashes or hangs it: every field gets hostile texts and
// every button is pressed, with every box answered by the recorder.
#include <random>

#include <QAbstractSpinBox>

#include "calculator_fixture.h"

namespace {

const char* const kHostileTexts[] = {
    "",        "abc",   "nan",    "inf",    "-inf",   "-1",       "0",          "1",
    "2",       "1e308", "-1e308", "1e-308", "1e50",   "99999999", "2147483647", "-2147483648",
    "103_102", "_",     "__1",    " 5 ",    "0x10",   "2000",     "20250107",   "20260107",
    "100",     "80",    "18",     "4",      "１００", "1,5",      "12.5.3",
};

// The fields under root that take typed text (not those inside spin boxes), less those whose
// parent is `except`.
QList<QLineEdit*> textFields(const QWidget* root, const QWidget* except = nullptr) {
    QList<QLineEdit*> fields;
    for (QLineEdit* e : root->findChildren<QLineEdit*>())
        if (!qobject_cast<QAbstractSpinBox*>(e->parent()) && e->parent() != except) fields << e;
    return fields;
}

class HostileInputTest : public CalculatorTest {
  protected:
    // The window's own fields; the editor keeps its.
    QList<QLineEdit*> formFields() const { return textFields(window.get(), editor()); }
    // 50000 paths of the hidden check cost a second per year of maturity; it has its own test.
    QPushButton* monteCarloButton() const { return button("pushButton_price_MC"); }
    void restoreDefaults(const QList<QLineEdit*>& fields, const QStringList& defaults) {
        for (int i = 0; i < fields.size(); ++i)
            fields[i]->setText(defaults[i]);
        combo("combo_type")->setCurrentIndex(0);
        combo("combo_days")->setCurrentIndex(1);
        combo("combo_target")->setCurrentIndex(0);
        click("pushButton_default_param");
        recorder.clear();
    }
    QList<QPushButton*> windowButtons() const {
        QList<QPushButton*> buttons;
        for (QPushButton* b : window->findChildren<QPushButton*>())
            if (!editor()->isAncestorOf(b) && b != monteCarloButton()) buttons << b;
        return buttons;
    }
};

TEST_F(HostileInputTest, EveryButtonSurvivesHostileTextsInEveryField) {
    const unsigned seed = 20251208;
    std::mt19937 random(seed);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    const QList<QLineEdit*> fields = formFields();
    QList<QPushButton*> buttons = windowButtons();
    ASSERT_GE(fields.size(), 33);
    ASSERT_GE(buttons.size(), 12);
    // Buttons that wait for the first Greeks run are pressed too.
    for (QPushButton* b : buttons)
        b->setEnabled(true);
    QStringList defaults;
    for (QLineEdit* field : fields)
        defaults << field->text();
    const ModalCloser closer;

    // Half of the fields keep their default each round, so that the actions get past their
    // checks often and the hostile values reach the engine.
    for (int round = 0; round < 60; ++round) {
        QStringList typed;
        for (int i = 0; i < fields.size(); ++i) {
            QLineEdit* field = fields[i];
            const QString text =
                pick(2) == 0 ? defaults[i] : u8(kHostileTexts[pick(std::size(kHostileTexts))]);
            field->setText(text);
            typed << field->objectName() + QLatin1Char('=') + text;
        }
        for (QComboBox* combo : window->findChildren<QComboBox*>())
            if (!editor()->isAncestorOf(combo))
                combo->setCurrentIndex(pick(combo->count() + 1) - 1);
        window->findChild<QCheckBox*>()->setChecked(pick(2) == 1);
        std::shuffle(buttons.begin(), buttons.end(), random);
        for (QPushButton* b : buttons) {
            SCOPED_TRACE(b->objectName().toStdString() + " after " + typed.join(' ').toStdString());
            b->click();
            waitForRun();
        }
        recorder.clear();
    }
    // Still usable: the default terms price again.
    restoreDefaults(fields, defaults);
    click("pushButton_price");
    EXPECT_TRUE(noBox());
    EXPECT_TRUE(std::isfinite(text("edit_price").toDouble())) << text("edit_price").toStdString();
}

TEST_F(HostileInputTest, TheEmbeddedEditorSurvivesHostileTextsWhileTheWindowPrices) {
    std::mt19937 random(7);
    const QList<QLineEdit*> fields = textFields(editor());
    QList<QPushButton*> buttons = editor()->findChildren<QPushButton*>();
    ASSERT_GE(fields.size(), 4);
    for (int round = 0; round < 30; ++round) {
        for (QLineEdit* field : fields)
            field->setText(u8(kHostileTexts[random() % std::size(kHostileTexts)]));
        std::shuffle(buttons.begin(), buttons.end(), random);
        for (QPushButton* b : buttons)
            b->click();
        click("pushButton_price");
        recorder.clear();
    }
}

TEST_F(HostileInputTest, TheMonteCarloCheckSurvivesHostileTexts) {
    const QList<QLineEdit*> fields = formFields();
    for (const char* hostile : {"", "abc", "nan", "inf", "-1", "0", "1e308"}) {
        for (QLineEdit* field : fields)
            field->setText(QLatin1String(hostile));
        recorder.clear();
        monteCarloButton()->click();
        // Refused in a box, or a price.
        const QString spot = text("edit_spot");
        EXPECT_TRUE(recorder.records().size() == 1 || spot == "nan" || spot.toDouble() >= 0)
            << hostile << " gave " << spot.toStdString();
    }
}

}  // namespace
