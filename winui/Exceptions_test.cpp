#include "winui/Exceptions.h"

#include <gtest/gtest.h>

namespace winui {
namespace {

TEST(Exceptions, SystemTextsForWin32AndComCodes) {
    EXPECT_EQ(SysErrorMessage(REGDB_E_CLASSNOTREG), "Class not registered");
    const std::string notFound = SysErrorMessage(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(notFound.empty());
    EXPECT_NE(notFound.back(), '\n');
    EXPECT_EQ(SysErrorMessage(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)), notFound);
    EXPECT_EQ(SysErrorMessage(0xA0001234), "Unexpected error (0xA0001234)");
}

TEST(Exceptions, ClassNamesForTheLastResortReport) {
    EXPECT_STREQ(ExceptionClassName(EOleSysError(E_FAIL)), "EOleSysError");
    EXPECT_STREQ(ExceptionClassName(EOleException("Bad path", E_FAIL)), "EOleException");
    EXPECT_STREQ(ExceptionClassName(Exception("x")), "Exception");
    EXPECT_STREQ(ExceptionClassName(std::logic_error("x")), "Exception");
}

}  // namespace
}  // namespace winui
