#include "common/status.h"

#include <cerrno>

namespace tallymere {

StatusCode Status::CodeOfErrno(int error_number) {
  switch (error_number) {
    case 0:
      return StatusCode::kOther;  // a failure without a cause is still a failure
    case ENOENT:
    case ENOTDIR:
    case ENOMEDIUM:
    case ENXIO:
    case ENODEV:
      return StatusCode::kNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EBUSY:
    case EISDIR:
      return StatusCode::kNoAccess;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return StatusCode::kNoSpace;
    case EXDEV:
      return StatusCode::kUnsupported;
    default:
      return StatusCode::kOther;
  }
}

}  // namespace tallymere
