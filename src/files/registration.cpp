#include "files/registration.h"

#include "files/comment_store.h"
#include "files/file_reader.h"
#include "files/file_writer.h"
#include "files/notebook_files.h"

namespace lemmabox {

void RegisterFiles() {
  RegisterNotebookWriters();
  InstallFileReader();
  InstallCommentStore();
  RegisterFileCommands();
}

}  // namespace lemmabox
