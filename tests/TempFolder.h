#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A folder of the test's own, gone with it, and the files the test writes into it.
struct TempFolder {
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    // Writes the file afresh and gives its path.
    QString write(const char* name, const QByteArray& bytes = {}) const {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name;
        f.write(bytes);
        return f.fileName();
    }
    QByteArray read(const char* name) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QTemporaryDir dir;
};
