// Replaced by the virtual bus implementation.
