// A file name carried in a message: owns one string, expanded when it is
// set ("~" and "~user" become home directories, a relative name is made
// absolute against the given directory or the current one).  The default
// is null; copies copy the string.
#pragma once

class STPFilename {
 public:
  STPFilename() = default;
  explicit STPFilename(const char* name, const char* current_dir = nullptr);
  STPFilename(const STPFilename& other);
  STPFilename(STPFilename&& other) noexcept;
  STPFilename& operator=(const STPFilename& other);
  STPFilename& operator=(STPFilename&& other) noexcept;
  STPFilename& operator=(const char* name);
  ~STPFilename();

  // Replaces the name; null clears it and "" stays "".
  void set(const char* name, const char* current_dir = nullptr);
  const char* get() const { return name_; }

 private:
  char* name_ = nullptr;
};
