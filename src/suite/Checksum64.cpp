#include "suite/Checksum64.h"

#include <cstring>

namespace krv {
namespace {

constexpr uint64_t kPrime1 = 0x9e3779b185ebca87ull;
constexpr uint64_t kPrime2 = 0xc2b2ae3d27d4eb4full;
constexpr uint64_t kPrime3 = 0x165667b19e3779f9ull;

constexpr uint64_t Rotl(uint64_t x, int r) { return (x << r) | (x >> (64 - r)); }

uint64_t Load64(const unsigned char* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

constexpr uint64_t Round(uint64_t lane, uint64_t word) { return Rotl(lane + word * kPrime2, 31) * kPrime1; }

constexpr uint64_t Avalanche(uint64_t h) {
  h ^= h >> 33;
  h *= kPrime2;
  h ^= h >> 29;
  h *= kPrime3;
  return h ^ (h >> 32);
}

}  // namespace

void Checksum64::Stripe(const unsigned char* p) {
  lanes_[0] = Round(lanes_[0], Load64(p));
  lanes_[1] = Round(lanes_[1], Load64(p + 8));
  lanes_[2] = Round(lanes_[2], Load64(p + 16));
  lanes_[3] = Round(lanes_[3], Load64(p + 24));
}

void Checksum64::Update(const char* data, size_t size) {
  const auto* p = reinterpret_cast<const unsigned char*>(data);
  total_ += size;
  if (tail_size_ > 0) {
    const size_t take = size < kStripe - tail_size_ ? size : kStripe - tail_size_;
    std::memcpy(tail_ + tail_size_, p, take);
    tail_size_ += take;
    p += take;
    size -= take;
    if (tail_size_ < kStripe) return;
    Stripe(tail_);
    tail_size_ = 0;
  }
  for (; size >= kStripe; p += kStripe, size -= kStripe) Stripe(p);
  std::memcpy(tail_, p, size);
  tail_size_ = size;
}

uint64_t Checksum64::Digest() const {
  uint64_t h = Rotl(lanes_[0], 1) + Rotl(lanes_[1], 7) + Rotl(lanes_[2], 12) + Rotl(lanes_[3], 18);
  h = (h ^ Round(0, total_)) * kPrime1;
  for (size_t i = 0; i < tail_size_; ++i) h = Rotl(h ^ (tail_[i] * kPrime3), 11) * kPrime1;
  return Avalanche(h);
}

}  // namespace krv
