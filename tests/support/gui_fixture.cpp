// filled in with the editor tests
