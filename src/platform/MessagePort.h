#pragma once

#include "platform/Reporter.h"

#include <string>

namespace fmb {

// The program's message boxes. Each one is modal, titled "ふみばこ", and shows its text exactly as
// given ("\n" in the text is a line break). A notice has an OK button; a question has OK and
// Cancel, and Cancel (or closing the box) means "no".
//
// It is also the Reporter of the window, so a core function that reports through a Reporter shows
// a notice.
class MessagePort : public Reporter {
public:
    // A notice or error with an OK button; returns when the user has closed it.
    virtual void Notice(const std::string& text) = 0;
    // A question with OK and Cancel; true when the user chose OK.
    virtual bool Question(const std::string& text) = 0;
    // The same question with Cancel as the default button, for a step the user should rather
    // not take (filing a document twice): Enter alone does not take it.
    virtual bool CautiousQuestion(const std::string& text) = 0;

    void Notify(const std::string& message) final { Notice(message); }
};

} // namespace fmb
