#pragma once

class QDialog;

namespace fmb {

// The common key filter of the filing window, the settings dialog, the company-name editor, the
// multiple-amounts dialog and the index export dialog: Enter, Return (also the keypad's Enter) and
// Escape never close the dialog nor press a button. The key still reaches the focused control as
// an ordinary key (a line edit still reports returnPressed); only when the control leaves it
// unhandled and it travels up to the dialog is it dropped there, before QDialog would click the
// default button or reject().
//
// Also makes every push button of the dialog plain (neither default nor auto-default), since a
// focused auto-default button would click itself on Enter. Call it once the controls exist, e.g.
// at the end of the constructor of a TemplateDialog subclass. The filter belongs to the dialog.
// The menu and backup dialogs keep the standard keys and do not call it.
void InstallCommonKeyFilter(QDialog& dialog);

} // namespace fmb
