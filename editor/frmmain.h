// The main window: the twenty settings of tanks.cfg as text fields, and the
// commands that save them.
#pragma once

#include "catalogue.h"

#include <QString>
#include <QWidget>

#include <array>

class QLineEdit;

class frmMain : public QWidget {
    Q_OBJECT

public:
    // Creating the window loads it: the Updates folder, then tanks.ini.
    explicit frmMain(QWidget *parent = nullptr);

    // The Updates folder for this run, exactly as stored or typed.
    const QString &zTPath() const { return ZTPath; }

    // The field that holds the setting at catalogue index `setting`.
    QLineEdit *field(std::size_t setting) const { return fields_[setting]; }

    brinevar::TankSettings texts() const;
    void setTexts(const brinevar::TankSettings &texts);

    // The window's commands.
    void cmdDefault_Click();
    void Command3_Click();
    void Label41_Click();
    void Label43_Click();

private:
    void Form_Load();
    void SetToDefault();
    void LoadUpdatesFolder();
    void LoadSettingsCopy();

    QString ZTPath;
    std::array<QLineEdit *, brinevar::kSettingCount> fields_{};
};
