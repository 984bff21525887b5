#pragma once

#include <stdexcept>

// Raised by TLZH when its dictionary tables cannot be had or given back.
class ElzhException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
