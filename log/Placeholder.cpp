// Replaced as the log operations are written.
