#pragma once
// One move-only owner for every kind of handle, portable or Win32. The traits
// name the handle type, its "none" value and the call that gives it back;
// the portable handle numbers, whose "none" is 0, share NumberTraits:
//
//   using UniqueLibrary = Unique<NumberTraits<Module, FreeLibrary>>;
#include <utility>

namespace platform {

template <class Traits>
class Unique {
 public:
  using Id = typename Traits::Id;

  Unique() noexcept = default;
  explicit Unique(Id id) noexcept : id_(id) {}
  Unique(Unique&& other) noexcept : id_(other.release()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  ~Unique() { reset(); }

  [[nodiscard]] Id get() const noexcept { return id_; }
  explicit operator bool() const noexcept { return id_ != Traits::Invalid(); }

  // Gives up ownership without closing.
  [[nodiscard]] Id release() noexcept { return std::exchange(id_, Traits::Invalid()); }

  // Closes what is held (if anything) and takes `id`. Traits that wrap Win32
  // calls keep the thread's last-error value intact across the close.
  void reset(Id id = Traits::Invalid()) noexcept {
    Id old = std::exchange(id_, id);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

  // For out-parameters: closes what is held and hands out the slot.
  [[nodiscard]] Id* put() noexcept {
    reset();
    return &id_;
  }

 private:
  Id id_ = Traits::Invalid();
};

// Traits for the opaque handle numbers of the portable layer: 0 is none.
template <class T, void (*CloseFunction)(T) noexcept>
struct NumberTraits {
  using Id = T;
  static constexpr Id Invalid() { return 0; }
  static void Close(Id id) noexcept { CloseFunction(id); }
};

}  // namespace platform
