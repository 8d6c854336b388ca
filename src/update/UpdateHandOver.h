#pragma once

namespace vcm {

/// Opens the update download screen 업데이트다운로드 modally for the installer whose size
/// is in Session.UpdateFileSize; the server and FTP account are in Session as well.
void openUpdateScreen();

} // namespace vcm
