#include "project/project_folder.h"

namespace vb {

std::string CounterFolderOf(const std::string& projectPath) {
    const auto slash = projectPath.rfind('/');
    return slash == std::string::npos ? std::string() : projectPath.substr(0, slash + 1);
}

} // namespace vb
