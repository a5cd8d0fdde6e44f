// A fast 64-bit checksum for comparing a copy with its original. Not a
// cryptographic hash: it finds damaged or incomplete copies, not forgeries.
// Blocks may be fed in any sizes; the same bytes give the same sum.
#pragma once

#include <cstddef>
#include <cstdint>

namespace krv {

class Checksum64 {
 public:
  void Update(const char* data, size_t size);
  uint64_t Digest() const;

 private:
  static constexpr size_t kStripe = 32;
  void Stripe(const unsigned char* p);

  uint64_t lanes_[4] = {0x60ea27eeadc0b5d6ull, 0xc2b2ae3d27d4eb4full, 0x0ull, 0x61c8864e7a143579ull};
  uint64_t total_ = 0;
  unsigned char tail_[kStripe] = {};
  size_t tail_size_ = 0;
};

}  // namespace krv
