#include "errors/checked_int16.h"
#include "errors/runtime_error.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

TEST(RuntimeError, CarriesNumberDescriptionAndPath) {
    const vb::RuntimeError error(53, "Formulare/Haupt.frm");
    EXPECT_EQ(error.number(), 53);
    EXPECT_EQ(error.description(), "Datei nicht gefunden");
    EXPECT_EQ(error.path(), "Formulare/Haupt.frm");
    EXPECT_STREQ(error.what(), "Laufzeitfehler 53: Datei nicht gefunden: Formulare/Haupt.frm");
    EXPECT_STREQ(vb::RuntimeError(6).what(), "Laufzeitfehler 6: Überlauf");
}

TEST(RuntimeError, ErrnoMapping) {
    EXPECT_EQ(vb::ErrorNumberOfErrno(ENOENT), 53);
    EXPECT_EQ(vb::ErrorNumberOfErrno(ENOTDIR), 76);
    EXPECT_EQ(vb::ErrorNumberOfErrno(EACCES), 70);
    EXPECT_EQ(vb::ErrorNumberOfErrno(EPERM), 70);
    EXPECT_EQ(vb::ErrorNumberOfErrno(EISDIR), 75);
    EXPECT_EQ(vb::ErrorNumberOfErrno(ENOSPC), 61);
    EXPECT_EQ(vb::ErrorNumberOfErrno(EIO), 57);
    EXPECT_EQ(vb::ErrorNumberOfErrno(ENAMETOOLONG), 52);
    EXPECT_EQ(vb::ErrorNumberOfErrno(ENOMEM), 7);
    EXPECT_EQ(vb::ErrorNumberOfErrno(EBADF), 75);
    EXPECT_EQ(vb::DescriptionOf(9), "Index außerhalb des gültigen Bereichs");
    EXPECT_EQ(vb::DescriptionOf(76), "Pfad nicht gefunden");
}

TEST(CheckedInt16, OverflowPast32767IsError6) {
    EXPECT_EQ(vb::Add16(32766, 1), 32767);
    EXPECT_EQ(vb::Add16(-5, 3), -2);
    try {
        vb::Add16(32767, 1);
        FAIL();
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), 6);
    }
    EXPECT_THROW(vb::Add16(20000, 20000), vb::RuntimeError);
}

} // namespace
