#include "platform/FilePublish.h"

#include "platform/PublishMethods.h"

namespace fmb {

std::error_code PublishWithoutReplacing(const std::filesystem::path& temporary,
                                        const std::filesystem::path& final, PublishMethod first) {
    constexpr PublishMethod kOrder[] = {PublishMethod::RenameNoReplace, PublishMethod::HardLink,
                                        PublishMethod::ClaimName};
    std::error_code error;
    for (const PublishMethod method : kOrder) {
        if (method < first) {
            continue;
        }
        error = publish::PublishBy(method, temporary, final);
        if (!error || !publish::RefusesTheMethod(error)) {
            return error;
        }
    }
    return error;
}

} // namespace fmb
