#pragma once

#include <QLineEdit>

// The field for the path of the svgo executable, as the setup sheet and the Advanced tab show it.
// Every edit is stored at once (with `~/` expanded, as the optimizer runs the stored path as it
// is), and a change made elsewhere (another window's sheet, the settings) shows up here.
class SvgoPathField : public QLineEdit {
    Q_OBJECT
public:
    explicit SvgoPathField(QWidget *parent = nullptr);
};
