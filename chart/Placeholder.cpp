// Replaced as the chart engine is written.
