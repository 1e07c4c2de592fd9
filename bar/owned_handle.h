// A platform handle (a Windows HANDLE, a POSIX file descriptor) that its
// owner closes once; it cannot be copied. Close reports whether the close
// succeeded, which a save must know: a failed close may be a failed write.
// Traits supply the Handle type, None(), Valid(handle) and Close(handle).
#ifndef KELVANE_BAR_OWNED_HANDLE_H_
#define KELVANE_BAR_OWNED_HANDLE_H_

namespace bar {

template <typename Traits>
class OwnedHandle {
 public:
  using Handle = typename Traits::Handle;

  explicit OwnedHandle(Handle handle) : handle_(handle) {}
  ~OwnedHandle() { Close(); }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;

  bool ok() const { return Traits::Valid(handle_); }
  Handle get() const { return handle_; }
  void Reset(Handle handle) {
    Close();
    handle_ = handle;
  }
  bool Close() {
    if (!ok()) return true;
    const Handle handle = handle_;
    handle_ = Traits::None();
    return Traits::Close(handle);
  }

 private:
  Handle handle_;
};

}  // namespace bar

#endif  // KELVANE_BAR_OWNED_HANDLE_H_
