// Filled by the main window work.
