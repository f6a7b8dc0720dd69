#include "common/status.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace tallymere {
namespace {

TEST(StatusTest, CodesTellMissingFromRefusedFromFullWhateverTheWords) {
  EXPECT_TRUE(Status::Ok().ok());
  EXPECT_EQ(Status::Ok().code(), StatusCode::kOk);
  EXPECT_EQ(Status::Ok().message(), "");

  EXPECT_EQ(Status::Error("words").code(), StatusCode::kOther);
  // A failure is never ok, whatever code it was given.
  EXPECT_FALSE(Status::Error(StatusCode::kOk, "still a failure").ok());
  EXPECT_FALSE(Status::FromErrno(0, "no cause").ok());

  const struct {
    int error;
    StatusCode code;
  } kCases[] = {{ENOENT, StatusCode::kNotFound},    {ENOTDIR, StatusCode::kNotFound},
                {ENOMEDIUM, StatusCode::kNotFound}, {EACCES, StatusCode::kNoAccess},
                {EPERM, StatusCode::kNoAccess},     {EROFS, StatusCode::kNoAccess},
                {EISDIR, StatusCode::kNoAccess},    {ENOSPC, StatusCode::kNoSpace},
                {EDQUOT, StatusCode::kNoSpace},     {EFBIG, StatusCode::kNoSpace},
                {EXDEV, StatusCode::kUnsupported},  {EIO, StatusCode::kOther}};
  for (const auto& test : kCases) {
    const Status status = Status::FromErrno(test.error, "Cannot write \"a\"");
    EXPECT_EQ(status.code(), test.code) << test.error;
    EXPECT_EQ(status.message(), "Cannot write \"a\"");
  }

  const Result<int> failed = Status::Error(StatusCode::kDamaged, "bad");
  EXPECT_EQ(failed.code(), StatusCode::kDamaged);
  EXPECT_EQ(failed.status().message(), "bad");
  EXPECT_EQ(Result<int>(7).code(), StatusCode::kOk);
}

}  // namespace
}  // namespace tallymere
