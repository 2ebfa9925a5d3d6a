#pragma once

#include "platform/FilePublish.h"

#include <filesystem>
#include <system_error>

// The platform's side of PublishWithoutReplacing: each way of publishing on its own, and which
// errors mean the file system does not offer a way at all. FilePublish.cpp tries them in order.
namespace fmb::publish {

std::error_code PublishBy(PublishMethod method, const std::filesystem::path& temporary,
                          const std::filesystem::path& final);

bool RefusesTheMethod(const std::error_code& error);

} // namespace fmb::publish
