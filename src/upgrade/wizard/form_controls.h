#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

class QDialog;
class QLabel;
class QPixmap;

// Small builders shared by the upgrade windows, whose controls sit at fixed places.

// A dialog frame of the given client size, centred on the screen. It keeps no application
// alive: the client ends when its main window closes, whatever upgrade window is open.
void MakeDialogFrame(QDialog* dialog, int clientWidth, int clientHeight);

// A named control at a fixed place.
template <typename Control>
Control* Placed(QWidget* parent, const QString& name, const QRect& geometry) {
    auto* control = new Control(parent);
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

// A label that sizes itself to its text at Left, Top; texts are always plain.
QLabel* PlacedLabel(QWidget* parent, const QString& name, int left, int top);
// A label that wraps its text at Width and takes the height the text needs.
QLabel* WrappingLabel(QWidget* parent, const QString& name, int left, int top, int width);
QLabel* PictureLabel(QWidget* parent, const QString& name, const QRect& geometry,
                     const QPixmap& picture);

// Sets a label's text and lets it size itself as its kind does: to the text's width, or, for a
// wrapping label, to the height of the wrapped text at its width.
void SetLabelText(QLabel* label, const QString& text);

// The panel of a dialog's buttons, along its bottom edge.
QWidget* MakeBottomPanel(QDialog* dialog, int height);
// A dialog of a message above a panel of controls: the panel lies along the bottom edge and the
// dialog is as high as the message and the panel together, centred again.
void FitToMessage(QDialog* dialog, const QLabel* message, QWidget* bottomPanel);
