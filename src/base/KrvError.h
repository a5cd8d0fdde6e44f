// The one exception type of the program's own error model: a numbered error
// with source, description, help file and context, as the error service and
// the Access runner raise it.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace krv {

struct KrvError : std::exception {
  int32_t number = 0;
  std::string source;
  std::string description;
  std::string help_file;
  int32_t help_context = 0;
  // Line in the procedure that raised it, 0 when unknown. The error service
  // folds it into the source when it passes the error on.
  int32_t line = 0;

  KrvError() = default;
  KrvError(int32_t num, std::string src, std::string desc, std::string help = {}, int32_t context = 0)
      : number(num),
        source(std::move(src)),
        description(std::move(desc)),
        help_file(std::move(help)),
        help_context(context) {}

  const char* what() const noexcept override { return description.c_str(); }
};

}  // namespace krv
