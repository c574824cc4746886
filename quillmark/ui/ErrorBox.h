#pragma once
// The standard error box of the window program, and the rule for errors that reach an event
// handler: the box shows the message and the program goes on.

#include <functional>
#include <string>

class QWidget;

namespace qm::ui {

// A modal critical message box titled with the application's title; the message is plain text.
void ShowErrorBox(QWidget* parent, const std::string& message);

// Runs an event handler; an error it raises is shown in the error box instead of leaving the
// handler. What the handler changed before the error stays changed.
void ReportingErrors(QWidget* parent, const std::function<void()>& handler);

}  // namespace qm::ui
