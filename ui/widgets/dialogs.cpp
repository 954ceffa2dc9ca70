#include "dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QQueue>

namespace Dialogs {

struct Recorder::State {
    QList<Record> records;
    QQueue<bool> questions;
    QQueue<QString> saveFiles;
    QQueue<QPair<QString, bool>> textInputs;
    QQueue<QString> openFiles;
    QQueue<SaveChoice> saveChoices;
};

namespace {

using RecorderState = Recorder::State;

// The state of the innermost live recorder.
RecorderState* activeState = nullptr;

bool record(Kind kind, const QString& title, const QString& text) {
    if (!activeState) return false;
    activeState->records.append({kind, title, text});
    return true;
}

}  // namespace

QString errorTitle() {
    return QStringLiteral("错误:");
}

QString errorTitleWide() {
    return QStringLiteral("错误：");
}

QString hintTitleWide() {
    return QStringLiteral("提示：");
}

QString cannotOpenFileTitle() {
    return QStringLiteral("无法打开文件:");
}

QString writeFailedTitle() {
    return QStringLiteral("写入文件失败:");
}

QString csvFilter() {
    return QStringLiteral("csv files (*.csv)");
}

void critical(QWidget* parent, const QString& title, const QString& text) {
    if (!record(Kind::Critical, title, text)) QMessageBox::critical(parent, title, text);
}

void warning(QWidget* parent, const QString& title, const QString& text) {
    if (!record(Kind::Warning, title, text)) QMessageBox::warning(parent, title, text);
}

void information(QWidget* parent, const QString& title, const QString& text) {
    if (!record(Kind::Information, title, text)) QMessageBox::information(parent, title, text);
}

bool question(QWidget* parent, const QString& title, const QString& text) {
    if (record(Kind::Question, title, text)) {
        return !activeState->questions.isEmpty() && activeState->questions.dequeue();
    }
    // The program asks its questions with an information box whose default is Yes; closing the
    // box counts as No.
    return QMessageBox::information(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                    QMessageBox::Yes) == QMessageBox::Yes;
}

QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                     const QString& filter) {
    if (record(Kind::SaveFile, caption, dir)) {
        return activeState->saveFiles.isEmpty() ? QString() : activeState->saveFiles.dequeue();
    }
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                     const QString& filter) {
    if (record(Kind::OpenFile, caption, dir)) {
        return activeState->openFiles.isEmpty() ? QString() : activeState->openFiles.dequeue();
    }
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

SaveChoice askSaveChanges(QWidget* parent, const QString& title, const QString& text) {
    if (record(Kind::SaveChanges, title, text)) {
        return activeState->saveChoices.isEmpty() ? SaveChoice::Cancel
                                                  : activeState->saveChoices.dequeue();
    }
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QPushButton* save = box.addButton(QString::fromUtf8("保存"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QString::fromUtf8("不保存"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QString::fromUtf8("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return SaveChoice::Save;
    if (box.clickedButton() == discard) return SaveChoice::Discard;
    return SaveChoice::Cancel;
}

QString textInput(QWidget* parent, const QString& title, const QString& label, const QString& text,
                  bool* ok) {
    if (record(Kind::TextInput, title, label)) {
        QPair<QString, bool> answer{text, true};
        if (!activeState->textInputs.isEmpty()) answer = activeState->textInputs.dequeue();
        if (ok) *ok = answer.second;
        return answer.second ? answer.first : QString();
    }
    // A plain dialog frame with a close button and no help button.
    const Qt::WindowFlags flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    return QInputDialog::getText(parent, title, label, QLineEdit::Normal, text, ok, flags);
}

Recorder::Recorder() : state_(new State), outer_(activeState) {
    activeState = state_;
}

Recorder::~Recorder() {
    activeState = outer_;
    delete state_;
}

const QList<Record>& Recorder::records() const {
    return state_->records;
}
QStringList Recorder::lines() const {
    QStringList lines;
    for (const Record& record : state_->records)
        lines << record.title + '|' + record.text;
    return lines;
}
void Recorder::clear() {
    state_->records.clear();
}
void Recorder::answerQuestion(bool yes) {
    state_->questions.enqueue(yes);
}
void Recorder::answerSaveFile(const QString& path) {
    state_->saveFiles.enqueue(path);
}
void Recorder::answerTextInput(const QString& text, bool ok) {
    state_->textInputs.enqueue({text, ok});
}
void Recorder::answerOpenFile(const QString& path) {
    state_->openFiles.enqueue(path);
}
void Recorder::answerSaveChanges(SaveChoice choice) {
    state_->saveChoices.enqueue(choice);
}

}  // namespace Dialogs
