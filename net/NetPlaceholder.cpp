// Filled by the transport work.
