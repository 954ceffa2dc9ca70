// Every message box, file dialog and text-input dialog of the program goes through here,
// so tests record them instead of blocking on a modal dialog.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace Dialogs {

enum class Kind {
    Critical,
    Warning,
    Information,
    Question,
    SaveFile,
    TextInput,
    OpenFile,
    SaveChanges
};

// The answers to the question whether to save changes before they are lost.
enum class SaveChoice { Save, Discard, Cancel };

// Titles and texts that more than one window shows, written once. The windows keep both colons
// of their titles: "错误:" and "错误：" are different texts.
QString errorTitle();           // "错误:"
QString errorTitleWide();       // "错误："
QString hintTitleWide();        // "提示："
QString cannotOpenFileTitle();  // "无法打开文件:", the path as the text
QString writeFailedTitle();     // "写入文件失败:", the path as the text
// The filter of every save dialog for a CSV file.
QString csvFilter();

struct Record {
    Kind kind;
    QString title;
    QString text;  // the message; the start path of a file dialog, a text input's label
};

// Message boxes with one OK button.
void critical(QWidget* parent, const QString& title, const QString& text);
void warning(QWidget* parent, const QString& title, const QString& text);
void information(QWidget* parent, const QString& title, const QString& text);
// Yes/No question; true for Yes.
bool question(QWidget* parent, const QString& title, const QString& text);
// Save-file dialog; the empty text when cancelled.
QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                     const QString& filter);
// Open-file dialog; the empty text when cancelled.
QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                     const QString& filter);
// Whether to save changes before they are lost: "保存", "不保存" or "取消" (also closing the box).
SaveChoice askSaveChanges(QWidget* parent, const QString& title, const QString& text);
// Text-input dialog; *ok false when cancelled.
QString textInput(QWidget* parent, const QString& title, const QString& label, const QString& text,
                  bool* ok);

// While a Recorder lives, no dialog is shown: each call is recorded and answered with the next
// value queued beforehand; with none queued a question answers No, a file dialog is cancelled, the
// save-changes question is cancelled and a text input returns its initial text as accepted.
// Recorders nest: the innermost live one records.
class Recorder {
  public:
    Recorder();
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    const QList<Record>& records() const;
    // Each record as "title|text", for comparing a whole sequence of boxes at once.
    QStringList lines() const;
    void clear();
    void answerQuestion(bool yes);
    void answerSaveFile(const QString& path);  // empty: cancelled
    void answerTextInput(const QString& text, bool ok = true);
    void answerOpenFile(const QString& path);  // empty: cancelled
    void answerSaveChanges(SaveChoice choice);

    struct State;

  private:
    State* state_;
    State* outer_;
};

}  // namespace Dialogs
