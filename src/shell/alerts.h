// Alerts and message boxes, shown through the platform, and the shell state
// that keeps other work away while one is up.
//
// While an alert, a message box or a modal dialog is up, the desktop's modal
// loop still delivers events (paints in particular). The idle work, the
// periodic tick, key translation and the interrupt check ask ModalIsUp() and
// stay away meanwhile.
#pragma once

#include <string>

#include "platform/platform.h"
#include "shell/types.h"

namespace lemmabox {

// The stop alert for a message number (the default message when it has no
// text), captioned with the program name.
void Alert(MessageNumber n);
// The same text captioned "Information" with the information icon; nothing is
// shown when the number has no text.
void InformationAlert(MessageNumber n);
// The general box. Text and caption are UTF-8 (convert texts of the string
// table with ProgramTextToUtf8); an empty caption gives the program name.
BoxAnswer MessageBox(const std::string& text, const std::string& caption, BoxIcon icon,
                     BoxButtons buttons);

// The modal owner: the dialog (or splash) that is up, as the desktop
// identifies it, or the alert marker while an alert or message box is up;
// nullptr when none is up. A desktop dialog sets it when it opens and puts
// back the previous owner when it closes.
const void* ModalOwner();
void SetModalOwner(const void* owner);
// An alert, a message box or a modal dialog is up.
bool ModalIsUp();
// One of our own alerts or message boxes is up.
bool AlertIsUp();

// The busy flag: set while start-up runs, while a mouse drag is tracked and
// while an alert is up; the interrupt check does nothing meanwhile.
bool BusyFlag();
void SetBusyFlag(bool busy);

}  // namespace lemmabox
