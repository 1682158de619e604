(function(){function run(){
