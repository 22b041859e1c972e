#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QLabel;
class QPushButton;

namespace platform {
struct MouseArgs;
class Form;
class Frame;
class Label;
} // namespace platform

// "Version 2.02": the major number as it is, the minor with at least two
// digits, so that 2.2 is not read as two point twenty.
QString VersionText(std::int16_t major, std::int16_t minor);

// One axis of centring a window over another, outer sizes in twips. Single
// precision on purpose: a half twip survives, and the result may be negative
// or past the screen's end (nothing keeps the dialog on screen).
float CentreOver(float mainStart, float mainSize, float dialogSize);

// The version information dialog. It is built anew for every opening and
// has no owner: the caller shows it with exec(), which blocks the whole
// application until OK, Escape or the close box ends it.
//
//     AboutForm about(mainWindow);
//     about.exec();
class AboutForm : public QDialog {
    Q_OBJECT

public:
    // `main` lends its position, size and icon; it does not become the parent.
    explicit AboutForm(const platform::Form& main);

    // Controls, named as the dialog's event list names them.
    platform::Frame* Frame1 = nullptr;
    QLabel* Image1 = nullptr;
    platform::Label* Label1 = nullptr; // product name
    platform::Label* Label2 = nullptr; // version
    platform::Label* Label3 = nullptr; // copyright
    platform::Label* Label4 = nullptr; // link to the maker's web page
    QPushButton* Command1 = nullptr;

private:
    void CreateControls();
    void Wire();
    void Form_Load(const platform::Form& main);
    void Command1_Click();
    void Label4_MouseDown(const platform::MouseArgs& args);
    void Label4_MouseMove(const platform::MouseArgs& args);
    void Label4_MouseUp(const platform::MouseArgs& args);
};
