// The game: board, pieces, stages and scenes.
