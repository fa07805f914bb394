// Filled by the windows work.
