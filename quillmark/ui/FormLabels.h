#pragma once
// The two kinds of label of the program's information windows: captions, and the values beside
// them, which may come from a device or the operator.

class QLabel;
class QWidget;

namespace qm::ui {

// A caption in the palette's link colour, which styles keep legible on the window background.
QLabel* NewCaptionLabel(const char* text, QWidget* parent);

// A label for text that comes from a device or the operator: plain text, selectable.
QLabel* NewValueLabel(const char* objectName, QWidget* parent);

}  // namespace qm::ui
